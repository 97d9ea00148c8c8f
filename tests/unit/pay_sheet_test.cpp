// 代课费发放表: the amount in words the finance office signs under, and the sheet of a range.
#include "statistics/pay_sheet.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "school/resets.h"
#include "statistics/pay_sheet_xlsx.h"
#include "store/store.h"
#include "store/tables/covers.h"
#include "store/tables/settings.h"
#include "store/tables/teachers.h"
#include "test_support.h"
#include "zip_entry.h"

namespace daike::statistics {
namespace {

using calendar::makeDay;
using testing::TempStore;

// Reads 人民币大写 back to fen, as a cashier checks it: digits, their places, the sections.
long long readWords(std::string s) {
    static const std::map<std::string, int> digit = {{"零", 0}, {"壹", 1}, {"贰", 2}, {"叁", 3},
                                                     {"肆", 4}, {"伍", 5}, {"陆", 6}, {"柒", 7},
                                                     {"捌", 8}, {"玖", 9}};
    static const std::map<std::string, long long> unit = {
        {"拾", 10},        {"佰", 100}, {"仟", 1000}, {"万", 10000},
        {"亿", 100000000}, {"元", 1},   {"角", -10},  {"分", -1}};
    long long yuan = 0, section = 0, fen = 0;
    int pending = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::string ch = s.substr(i, 3);  // each of these is three bytes of UTF-8
        i += 3;
        if (ch == "整") continue;
        if (auto d = digit.find(ch); d != digit.end()) {
            pending = d->second;
            continue;
        }
        const auto u = unit.find(ch);
        if (u == unit.end()) throw std::invalid_argument("not a word of an amount: " + ch);
        const long long v = u->second;
        if (v == -10 || v == -1) {
            fen += pending * (v == -10 ? 10 : 1);
        } else if (v < 10000 && v > 1) {
            section += pending * v;
        } else if (v == 1) {
            yuan += section + pending;
            section = 0;
        } else {  // 万, 亿: what came before is counted in that unit
            if (v == 100000000) {
                yuan = (yuan + section + pending) * v;
            } else {
                yuan += (section + pending) * v;
            }
            section = 0;
        }
        pending = 0;
    }
    return yuan * 100 + fen;
}

TEST(PaySheetWords, TheFinanceOfficesForms) {
    const std::vector<std::pair<long long, std::string>> forms = {
        {0, "零元整"},
        {50, "伍角"},
        {5, "伍分"},
        {1000, "壹拾元整"},
        {1005, "壹拾元零伍分"},
        {2050, "贰拾元伍角"},
        {10100, "壹佰零壹元整"},
        {100010, "壹仟元零壹角"},
        {123450, "壹仟贰佰叁拾肆元伍角"},
        {1001000, "壹万零壹拾元整"},
        {1234567, "壹万贰仟叁佰肆拾伍元陆角柒分"},
        {10000000000, "壹亿元整"},
        {10001000000, "壹亿零壹万元整"},
        // The 万 place named by its unit; zeros after it still call for one 零.
        {1050000, "壹万零伍佰元整"},
        {10500000, "壹拾万伍仟元整"},
        {100100000, "壹佰万零壹仟元整"},
        {10000000100, "壹亿零壹元整"},
        {10, "壹角"},
        {11, "壹角壹分"},
        {101, "壹元零壹分"},
    };
    for (const auto& [fen, words] : forms) EXPECT_EQ(amountInWords(fen), words) << fen;
    EXPECT_EQ(amountInWords(-1000), "负壹拾元整");
    EXPECT_EQ(amountInWords(99'999'999'999'999LL),
              "玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分");
    EXPECT_THROW(amountInWords(100'000'000'000'000LL), std::out_of_range);
    EXPECT_EQ(yuanText(123450), "1234.50");
    EXPECT_EQ(yuanText(5), "0.05");
    EXPECT_EQ(yuanText(0), "0.00");
}

TEST(PaySheetWords, EveryAmountUpToAThousandYuanReadsBack) {
    for (long long fen = 0; fen <= 100000; ++fen) {
        const std::string w = amountInWords(fen);
        ASSERT_EQ(w.find("零零"), std::string::npos) << fen << " " << w;
        ASSERT_FALSE(w.size() >= 3 && w.compare(w.size() - 3, 3, "零") == 0) << fen;
        ASSERT_EQ(w.find("零元"), fen == 0 ? 0u : std::string::npos) << fen << " " << w;
        ASSERT_EQ(w.size() >= 3 && w.compare(w.size() - 3, 3, "整") == 0, fen % 100 == 0) << fen;
        ASSERT_EQ(readWords(w), fen) << w;
    }
    // And a spread of larger ones, through every section.
    for (long long fen = 7; fen < 99'999'999'999'999LL; fen = fen * 13 + 1)
        ASSERT_EQ(readWords(amountInWords(fen)), fen) << amountInWords(fen);
}

CoverRecord cover(const char* week, int weekday, const char* substitute, const char* subject) {
    return {"李明", "病假", substitute, week, weekday, "三(2)", subject, 2};
}

// A school whose term began Monday 2024-09-02: week 3 is 16–20 September.
struct PaySchool : ::testing::Test {
    TempStore db;
    void SetUp() override {
        db->exec("INSERT INTO 开学第一天 VALUES ('2024/9/2')");
        for (const char* n : {"王芳", "李明", "赵六"}) teachers::add(*db, n);
    }
    void add(const char* week, int weekday, const char* substitute, const char* subject) {
        covers::append(*db, CoverTable::Term, cover(week, weekday, substitute, subject));
    }
    DateRange september() const { return DateRange::thisMonth(makeDay(2024, 9, 10)); }
};

TEST_F(PaySchool, WithoutARateTheSheetIsRefused) {
    add("3", 1, "王芳", "语文");
    const auto none = paySheet(*db, september());
    ASSERT_FALSE(none);
    EXPECT_NE(none.refusal().message.find("尚未设定代课酬金"), std::string::npos);
    // A kind's own rate alone does not pay the others: the sheet names what is missing.
    settings::setKindRates(*db, {{"早读", 10}});
    const auto part = paySheet(*db, september());
    ASSERT_FALSE(part);
    EXPECT_NE(part.refusal().message.find("正课"), std::string::npos);
    // Once 正课 has its rate the sheet goes through.
    settings::setKindRates(*db, {{"早读", 10}, {"正课", 40}});
    ASSERT_TRUE(paySheet(*db, september()));
    EXPECT_EQ(paySheet(*db, september())->fen, 4000);
}

TEST_F(PaySchool, RowsByTeacherAndKindWithTheirPayInFen) {
    settings::setPayRate(*db, 25.5);
    settings::setKindRates(*db, {{"早读", 10}, {"午管", 15.3}});
    settings::setSchoolName(*db, "  城关小学 ");
    // Covered in last term's archive too: a range reads across the clearing.
    add("3", 2, "赵六", "数学");
    clearTermRecords(*db);
    add("3", 3, "孙七", "午管");  // no longer on the list
    add("3", 4, "王芳", "早读");
    add("4", 1, "王芳", "语文");
    add("4", 2, "王芳", "语文");
    add("4", 3, "赵六", "课后服务");  // paid the one rate
    add("4", 3, "孙七", "午管");
    add("6", 1, "王芳", "语文");  // 2024-10-07: outside the month
    add("", 1, "王芳", "语文");   // no date: in no range
    add("3", 5, " ", "语文");     // no substitute: paid to no one

    const auto sheet = paySheet(*db, september());
    ASSERT_TRUE(sheet) << sheet.refusal().message;
    EXPECT_EQ(sheet->title(), "城关小学代课费发放表");
    EXPECT_EQ(sheet->kinds, (std::vector<std::string>{"正课", "早读", "午管", "课后服务"}));
    EXPECT_EQ(sheet->rateFen, (std::vector<long long>{2550, 1000, 1530, 2550}));
    EXPECT_EQ(sheet->ratesText(), "25.50/10/15.30/25.50");
    ASSERT_EQ(sheet->rows.size(), 3u);
    // The list's order (李明 covered nothing), then who has left.
    EXPECT_EQ(sheet->rows[0].name, "王芳");
    EXPECT_EQ(sheet->rows[0].covers, (std::vector<int>{2, 1, 0, 0}));
    EXPECT_EQ(sheet->rows[0].fen, 2 * 2550 + 1000);
    EXPECT_EQ(sheet->rows[1].name, "赵六");
    EXPECT_EQ(sheet->rows[1].covers, (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(sheet->rows[1].fen, 5100);
    EXPECT_EQ(sheet->rows[2].shownName(), "孙七（已离校）");
    EXPECT_FALSE(sheet->rows[2].onList);
    EXPECT_EQ(sheet->rows[2].fen, 3060);
    EXPECT_EQ(sheet->kindTotals, (std::vector<int>{3, 1, 2, 1}));
    EXPECT_EQ(sheet->covers, 7);
    EXPECT_EQ(sheet->fen, 6100 + 5100 + 3060);
    EXPECT_EQ(sheet->totalInWords(), "合计（大写）：人民币壹佰肆拾贰元陆角");

    // The table the window and the workbook show: rates in the kinds' headers, totals last.
    const Table t = payTable(*sheet);
    EXPECT_EQ(t.headers, (std::vector<std::string>{
                             "序号", "姓名", "正课（25.50元）", "早读（10元）", "午管（15.30元）",
                             "课后服务（25.50元）", "金额（元）", "领款人签字"}));
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0].cells[3].text, "1");
    EXPECT_EQ(t.rows[0].cells[4].text, "");  // no 午管: blank, not 0
    EXPECT_EQ(t.rows[0].cells[6].text, "61.00");
    EXPECT_TRUE(t.rows[2].former);
    ASSERT_TRUE(t.totals);
    EXPECT_EQ(t.totals->cells[6].text, "142.60");
    EXPECT_EQ(t.totals->cells[2].text, "3");

    // A range settled on the 15th: only the kinds that occur are columns.
    const auto mid = paySheet(*db, DateRange::custom(makeDay(2024, 9, 16), makeDay(2024, 9, 19)));
    ASSERT_TRUE(mid);
    EXPECT_EQ(mid->kinds, (std::vector<std::string>{"正课", "早读", "午管"}));
    EXPECT_EQ(mid->rows.size(), 3u);
    const auto oneKind =
        paySheet(*db, DateRange::custom(makeDay(2024, 9, 23), makeDay(2024, 9, 24)));
    ASSERT_TRUE(oneKind);
    EXPECT_EQ(payTable(*oneKind).headers,
              (std::vector<std::string>{"序号", "姓名", "正课节数", "单价（元）", "金额（元）",
                                        "领款人签字"}));
    EXPECT_EQ(payTable(*oneKind).rows[0].cells[3].text, "25.50");
    // A range with no covers is an empty sheet, not a refusal.
    const auto quiet = paySheet(*db, DateRange::custom(makeDay(2024, 8, 1), makeDay(2024, 8, 31)));
    ASSERT_TRUE(quiet);
    EXPECT_TRUE(quiet->empty());
    EXPECT_TRUE(quiet->kinds.empty());
    EXPECT_EQ(quiet->totalInWords(), "合计（大写）：人民币零元整");
    EXPECT_FALSE(paySheet(*db, DateRange::custom(makeDay(2024, 9, 2), makeDay(2024, 9, 1))));
}

TEST_F(PaySchool, TheWorkbookIsThePrintedPageOnA4) {
    settings::setPayRate(*db, 30);
    settings::setKindRates(*db, {{"早读", 12.5}});
    settings::setSchoolName(*db, "城关小学");
    add("3", 2, "赵六", "数学");
    add("3", 3, "孙七", "早读");
    add("3", 4, "赵六", "早读");
    const auto sheet = paySheet(*db, september());
    ASSERT_TRUE(sheet);
    const auto file = db.dir() / "代课费发放表.xlsx";
    writePaySheetXlsx(file, *sheet);

    const std::string strings = testing::unzip(file, "xl/sharedStrings.xml");
    for (const char* words :
         {"城关小学代课费发放表", "发放期间：2024年9月1日至9月30日", "单位：元", "正课（30元）",
          "早读（12.50元）", "领款人签字", "赵六", "孙七（已离校）", "合计",
          "合计（大写）：人民币伍拾伍元整", "制表：", "审核：", "日期："})
        EXPECT_NE(strings.find(words), std::string::npos) << words;
    // Amounts are numbers a spreadsheet can add: 赵六 30 + 12.50, the total 55.
    const std::string ws = testing::unzip(file, "xl/worksheets/sheet1.xml");
    EXPECT_NE(ws.find("<v>42.5</v>"), std::string::npos);
    EXPECT_NE(ws.find("<v>55</v>"), std::string::npos);
    // A4 upright, one page wide, the header row on every page, the print area set.
    EXPECT_NE(ws.find("paperSize=\"9\""), std::string::npos);
    EXPECT_NE(ws.find("orientation=\"portrait\""), std::string::npos);
    EXPECT_NE(ws.find("fitToPage=\"1\""), std::string::npos);
    EXPECT_NE(ws.find("fitToHeight=\"0\""), std::string::npos);
    const std::string book = testing::unzip(file, "xl/workbook.xml");
    EXPECT_NE(book.find("_xlnm.Print_Area"), std::string::npos);
    EXPECT_NE(book.find("_xlnm.Print_Titles"), std::string::npos);
    // The print area runs from A1 to the signature lines, the last column the signatures'.
    EXPECT_NE(book.find("$A$1:$F$10"), std::string::npos) << book;
}

TEST_F(PaySchool, RatesAreSavedTogetherAndTheOneRateIsTheLessonsBox) {
    EXPECT_FALSE(saveRates(*db, {{"正课", "30"}, {"早读", "-5"}}));
    EXPECT_FALSE(settings::payRate(*db));  // nothing written when one box is refused
    const auto bad = saveRates(*db, {{"正课", "30"}, {"午管", "abc"}});
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.refusal().message.rfind("午管：", 0), 0u);

    ASSERT_TRUE(
        saveRates(*db, {{"正课", "30元"}, {"早读", "10"}, {"午管", ""}, {"课后服务", "20.5"}}));
    EXPECT_EQ(settings::payRate(*db), 30.0);
    EXPECT_EQ(settings::kindRates(*db),
              (std::vector<std::pair<std::string, double>>{{"早读", 10}, {"课后服务", 20.5}}));
    const auto shown = shownRates(*db);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].rate, 30.0);
    EXPECT_FALSE(shown[2].rate);  // 午管: paid the one rate
    // A 正课 row of its own (written by an earlier program) is what the box shows and pays.
    settings::setKindRates(*db, {{"正课", 35}});
    EXPECT_EQ(shownRates(*db)[0].rate, 35.0);
}

TEST(PaySheetSettings, TheSchoolsNameSitsBesideThePassword) {
    TempStore db;
    const Value password = settings::password(*db);
    EXPECT_EQ(settings::schoolName(*db), "");
    settings::setSchoolName(*db, "实验小学");
    EXPECT_EQ(settings::schoolName(*db), "实验小学");
    EXPECT_EQ(settings::password(*db), password);
    settings::setSchoolName(*db, "  ");
    EXPECT_EQ(settings::schoolName(*db), "");
    EXPECT_EQ(db.count("注册码"), 1);
}

}  // namespace
}  // namespace daike::statistics
