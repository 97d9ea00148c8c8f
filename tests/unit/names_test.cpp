// One rule turns a name typed, picked or clicked into the stored teacher; the look-ups and the
// absence entry follow it, so a teacher stored with a blank at an end is found everywhere.
#include "school/names.h"

#include "engine/absence_entry.h"
#include "engine/lookup.h"
#include "test_support.h"

namespace daike {
namespace {

TEST(NameMatch, ExactFirstThenTheFirstEqualWithoutTheBlanksAtItsEnds) {
    const std::vector<std::string> stored{"王 一", " 李二 ", "李二　", "赵三", "", "　"};
    EXPECT_EQ(names::match(stored, " 李二 "), " 李二 ");
    EXPECT_EQ(names::match(stored, "李二　"), "李二　");     // exact beats the earlier loose one
    EXPECT_EQ(names::match(stored, "李二"), " 李二 ");       // the first that fits
    EXPECT_EQ(names::match(stored, "\t李二 　"), " 李二 ");  // tabs, ASCII and full-width blanks
    EXPECT_EQ(names::match(stored, " 赵三"), "赵三");
    EXPECT_EQ(names::match(stored, "赵三　"), "赵三");
    // Blanks inside a name are part of it.
    EXPECT_EQ(names::match(stored, "王一"), std::nullopt);
    EXPECT_EQ(names::match(stored, "李 二"), std::nullopt);
    // Blanks alone match only themselves; nothing matches a row without a name.
    EXPECT_EQ(names::match(stored, "　"), "　");
    EXPECT_EQ(names::match(stored, " "), std::nullopt);
    EXPECT_EQ(names::match(stored, ""), std::nullopt);
    EXPECT_EQ(names::match({}, "赵三"), std::nullopt);
}

class BlankEndedName : public testing::StoreTest {
  protected:
    void SetUp() override {
        store().execScript(
            "INSERT INTO 教师姓名 (姓名) VALUES ('王一 '),('张老师');"
            "INSERT INTO 任课情况 (姓名,星期,班级,节次,课目) VALUES "
            "('王一 ',3,'一(3)',2,'语文'),('张老师',3,'一(1)',1,'语文');");
    }
};

TEST_F(BlankEndedName, IsFoundByTheAbsenceEntryAndTheTeacherLookUp) {
    EXPECT_EQ(*absence::storedTeacher(store(), "王一"), "王一 ");
    EXPECT_EQ(*absence::storedTeacher(store(), "王一 "), "王一 ");
    EXPECT_EQ(absence::storedTeacher(store(), "王二").refusal().message,
              "没有名为“王二”的教师。是不是：王一？");
    for (const char* given : {"王一 ", "王一", " 王一"}) {
        const auto w = lookup::whereIsTeacher(store(), 3, given, 2, 3);
        EXPECT_EQ(w->place + "|" + w->status, "一(3)|语文课") << given;
    }
    EXPECT_EQ(names::storedTeacherName(store(), "无名"), "无名");
}

}  // namespace
}  // namespace daike
