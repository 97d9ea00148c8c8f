// A teacher's name found from what the operator types: completions by prefix, piece and pinyin,
// and the near names offered for a name no teacher has.
#include "school/name_search.h"

#include "test_support.h"

namespace daike {
namespace {

using Names = std::vector<std::string>;

TEST(PinyinInitials, ReadTheFirstCharacterAsASurname) {
    EXPECT_EQ(names::pinyinInitials("宋燕"), "sy");
    EXPECT_EQ(names::pinyinInitials("曾平"), "zp");  // not ceng
    EXPECT_EQ(names::pinyinInitials("单雪"), "sx");  // not dan
    EXPECT_EQ(names::pinyinInitials("解放"), "xf");  // not jie
    EXPECT_EQ(names::pinyinInitials("朴明"), "pm");  // piao
    EXPECT_EQ(names::pinyinInitials("覃军"), "qj");  // not tan
    EXPECT_EQ(names::pinyinInitials("翟亮"), "zl");  // not di
    EXPECT_EQ(names::fullPinyin("曾平"), "zengping");
    EXPECT_EQ(names::fullPinyin("缪斯"), "miaosi");
    EXPECT_EQ(names::fullPinyin("乐乐"), "yuele");  // only the first reads as a surname
    EXPECT_EQ(names::fullPinyin("吕布"), "lubu");
}

TEST(PinyinInitials, KeepLatinAndDigitsLowercaseAndDropBlanks) {
    EXPECT_EQ(names::pinyinInitials("A组李"), "azl");
    EXPECT_EQ(names::pinyinInitials("李1"), "l1");
    EXPECT_EQ(names::pinyinInitials("Ｂ王"), "bw");  // full-width letter
    EXPECT_EQ(names::pinyinInitials(" 张　三 "), "zs");
    EXPECT_EQ(names::pinyinInitials(""), "");
}

TEST(Completions, PrefixThenPieceThenInitialsThenFullPinyin) {
    const Names stored{"孙燕", "王宋", "宋燕", "宋波", "史勇", "宋燕", "张三"};
    // Beginning with 宋, then containing it; the repeated 宋燕 once.
    EXPECT_EQ(names::completions(stored, "宋"), (Names{"宋燕", "宋波", "王宋"}));
    EXPECT_EQ(names::completions(stored, "sy"), (Names{"孙燕", "宋燕", "史勇"}));
    EXPECT_EQ(names::completions(stored, "songy"), (Names{"宋燕"}));
    EXPECT_EQ(names::completions(stored, "song"), (Names{"宋燕", "宋波"}));
    EXPECT_EQ(names::completions(stored, "ws"), (Names{"王宋"}));
    EXPECT_EQ(names::completions(stored, "zhangs"), (Names{"张三"}));
}

TEST(Completions, LatinInAnyCaseOrWidthAndBlankTypedGivesNothing) {
    const Names stored{"宋燕", "孙燕", "王一 "};
    EXPECT_EQ(names::completions(stored, "SY"), (Names{"宋燕", "孙燕"}));
    EXPECT_EQ(names::completions(stored, "ｓｙ"), (Names{"宋燕", "孙燕"}));
    EXPECT_EQ(names::completions(stored, "Ｓong yan"), (Names{"宋燕"}));
    EXPECT_EQ(names::completions(stored, "王"),
              (Names{"王一 "}));  // the stored name, blank and all
    EXPECT_TRUE(names::completions(stored, "").empty());
    EXPECT_TRUE(names::completions(stored, " 　").empty());
    EXPECT_TRUE(names::completions(stored, "x").empty());
    EXPECT_TRUE(names::completions(stored, "s宋").empty());
}

TEST(NearNames, HomophonesFirstThenOneCharacterOff) {
    const Names stored{"宋波", "宋燕", "宋艳红", "李艳", "宋岩", "宋", "李燕"};
    // 宋燕 and 宋岩 sound the same with one character changed; 宋波 and 李艳 are one character
    // off; 宋艳红 and 宋 one added or dropped (宋 is past the five); 李燕 is two off.
    EXPECT_EQ(names::nearNames(stored, "宋艳"), (Names{"宋燕", "宋岩", "宋波", "李艳", "宋艳红"}));
    // The same sound though every character differs comes before one character off.
    EXPECT_EQ(names::nearNames({"宋波", "松雁"}, "宋艳"), (Names{"松雁", "宋波"}));
    EXPECT_EQ(names::nearNames({"宋燕", "赵三"}, "宋艳"), (Names{"宋燕"}));
    EXPECT_EQ(names::nearNames({"曾平"}, "增平"), (Names{"曾平"}));  // zeng both
    EXPECT_EQ(names::nearNames({"宋燕"}, "songyan"), (Names{"宋燕"}));
}

TEST(NearNames, NothingForAStoredNameABlankOrAFarName) {
    const Names stored{"宋燕", "王一 "};
    EXPECT_TRUE(names::nearNames(stored, "宋燕").empty());
    EXPECT_TRUE(names::nearNames(stored, "王一").empty());  // matched without its blank
    EXPECT_TRUE(names::nearNames(stored, "").empty());
    EXPECT_TRUE(names::nearNames(stored, "欧阳修文").empty());
    EXPECT_EQ(names::nearNames(stored, "王二"), (Names{"王一 "}));
}

TEST(UnknownName, MessageNamesTheNearNames) {
    EXPECT_EQ(names::unknownNameMessage("宋艳", {"宋燕"}), "没有名为“宋艳”的教师。是不是：宋燕？");
    EXPECT_EQ(names::unknownNameMessage("宋艳", {"宋燕", "宋岩"}),
              "没有名为“宋艳”的教师。是不是：宋燕、宋岩？");
    EXPECT_EQ(names::unknownNameMessage("宋艳", {}), "没有名为“宋艳”的教师。");
    const auto known = names::knownTeacher(Names{"宋燕", "王一 "}, "王一");
    ASSERT_TRUE(known);
    EXPECT_EQ(*known, "王一 ");
    const auto unknown = names::knownTeacher(Names{"宋燕", "王一 "}, "宋艳");
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.refusal().message, "没有名为“宋艳”的教师。是不是：宋燕？");
}

}  // namespace
}  // namespace daike
