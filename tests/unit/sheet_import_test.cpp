// 导入总课表 after the sheet was read: what 确定 writes, what it keeps of today, and what
// nothing may write.
#include "basedata/sheet_import.h"

#include <gtest/gtest.h>

#include "store/week.h"
#include "test_support.h"

namespace daike {
namespace {

namespace si = sheet_import;
using testing::StoreTest;

// A 按教师 sheet: the name column, the 30 slots, one row per teacher with {slot index, cell}.
spreadsheet::Workbook byTeacher(
    const std::vector<std::pair<std::string, std::vector<std::pair<int, std::string>>>>& rows) {
    spreadsheet::Sheet sheet;
    sheet.name = "总课表";
    std::vector<std::string> header{"姓名"};
    for (int d = 1; d <= week::kDays; ++d)
        for (int p = 1; p <= week::kPeriods; ++p)
            header.push_back("周" + std::string(week::weekdayNumeral(d)) + std::to_string(p));
    sheet.rows.push_back(header);
    for (const auto& [name, cells] : rows) {
        std::vector<std::string> row(header.size());
        row[0] = name;
        for (const auto& [slot, text] : cells) row[static_cast<std::size_t>(slot) + 1] = text;
        sheet.rows.push_back(row);
    }
    spreadsheet::Workbook book;
    book.sheets.push_back(sheet);
    return book;
}

// Slot index of weekday d, period p, as the header above counts them.
int slot(int d, int p) {
    return (d - 1) * week::kPeriods + (p - 1);
}

class SheetImport : public StoreTest {
  protected:
    void SetUp() override {
        store().execScript(
            "INSERT INTO 教师姓名 (姓名) VALUES ('张三'),('李四');"
            "INSERT INTO 任课情况 VALUES "
            "('张三',1,'一(1)',1,'语文',1,1),"  // covered today, the same in the sheet
            "('张三',1,'一(1)',2,'语文',1,1),"  // covered today, gone from the sheet
            "('李四',2,'一(2)',3,'数学',NULL,NULL);");
    }
    si::Loaded loaded(spreadsheet::Workbook book) {
        si::Loaded l{"/学校/总课表.xlsx", std::move(book), std::nullopt};
        l.found = timetable_sheets::detect(l.book);
        return l;
    }
    si::Preview preview(const si::Loaded& l) {
        auto checked = si::check(l, std::nullopt, si::schoolOf(store()));
        EXPECT_TRUE(checked);
        return *checked;
    }
    std::string timetable() {
        return column(
            "SELECT 姓名||星期||节次||班级||课目||':'||ifnull(标记,'-')||ifnull(已代标记,'-') "
            "FROM 任课情况 ORDER BY rowid");
    }
    std::string teachers() { return column("SELECT 姓名 FROM 教师姓名 ORDER BY rowid"); }

    const spreadsheet::Workbook sheet = byTeacher({
        {"张三", {{slot(1, 1), "一(1)语文"}, {slot(3, 4), "一(1)语文"}}},
        {"王五", {{slot(2, 2), "二(1)英语"}}},
        {"李四", {{slot(2, 3), "一(2)数学"}}},
    });
};

TEST_F(SheetImport, ReplacesTheTimetableAndKeepsTodaysCoverOfUnchangedLessons) {
    const auto l = loaded(sheet);
    ASSERT_TRUE(l.found);
    const auto p = preview(l);
    EXPECT_EQ(p.reading.newTeachers, std::vector<std::string>{"王五"});

    // What the window says before 确定 is what 确定 does.
    const auto before = si::planOf(store(), p, true);
    EXPECT_EQ(before.rows.size(), 4u);
    EXPECT_EQ(before.coveredKept, 1);
    ASSERT_EQ(before.coveredGone.size(), 1u);
    EXPECT_EQ(before.coveredGone[0].period, 2);

    bool backedUp = false;
    const auto outcome = si::apply(store(), p, true, [&] {
        backedUp = true;
        EXPECT_EQ(timetable(), "张三11一(1)语文:11,张三12一(1)语文:11,李四23一(2)数学:--");
    });
    EXPECT_TRUE(backedUp);
    EXPECT_EQ(outcome.added, std::vector<std::string>{"王五"});
    EXPECT_EQ(teachers(), "张三,李四,王五");
    EXPECT_EQ(timetable(),
              "张三11一(1)语文:11,张三34一(1)语文:--,王五22二(1)英语:--,李四23一(2)数学:--");
    EXPECT_EQ(outcome.plan.teachers, 3);

    const auto question =
        si::doneQuestion(outcome, "\n操作前的数据已自动备份到“x.db”。", "/学校/课务导入明细.txt");
    EXPECT_NE(question.find("总课表已导入：3位教师，共4节课。"), std::string::npos);
    EXPECT_NE(question.find("已加入教师名单：王五。"), std::string::npos);
    EXPECT_NE(question.find("代课标记已保留"), std::string::npos);
    EXPECT_NE(question.find("。\n操作前的数据已自动备份到“x.db”。\n明细见："), std::string::npos);
    EXPECT_NE(question.find("现在就计算吗？（是/否）"), std::string::npos);
}

TEST_F(SheetImport, NewTeachersNotAddedLeaveTheirLessonsOut) {
    const auto l = loaded(sheet);
    const auto p = preview(l);
    const auto outcome = si::apply(store(), p, false, {});
    EXPECT_TRUE(outcome.added.empty());
    EXPECT_EQ(teachers(), "张三,李四");
    EXPECT_EQ(timetable(), "张三11一(1)语文:11,张三34一(1)语文:--,李四23一(2)数学:--");
    EXPECT_EQ(outcome.plan.teachers, 2);
}

TEST_F(SheetImport, AFailedBackupWritesNothing) {
    const auto l = loaded(sheet);
    const auto p = preview(l);
    const auto old = timetable();
    EXPECT_THROW(si::apply(store(), p, true, [] { throw std::runtime_error("磁盘已满"); }),
                 std::runtime_error);
    EXPECT_EQ(timetable(), old);
    EXPECT_EQ(teachers(), "张三,李四");
}

TEST_F(SheetImport, ASheetWithoutATimetableIsRefusedUnlessTheLayoutIsChosen) {
    spreadsheet::Workbook book;
    book.sheets.push_back({"通讯录", {{"姓名", "电话"}, {"张三", "123"}}, {}});
    const auto l = loaded(book);
    EXPECT_FALSE(l.found);
    const auto refused = si::check(l, std::nullopt, si::schoolOf(store()));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.refusal().message, si::kNoLayout);
    // Chosen by the office, it is read and holds nothing to import.
    const auto chosen = si::check(l, timetable_sheets::Layout::ByTeacher, si::schoolOf(store()));
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(chosen->reading.lessons.empty());
    EXPECT_FALSE(chosen->reading.problems.empty());
    EXPECT_NE(chosen->description(l).find("由您选择"), std::string::npos);
}

TEST_F(SheetImport, TheDetailsNameTheFileTheProblemsAndEveryTeachersLessons) {
    auto book = sheet;
    book.sheets[0].rows[1][static_cast<std::size_t>(slot(5, 6)) + 1] = "七(1)语文";
    const auto l = loaded(book);
    const auto p = preview(l);
    const auto plan = si::planOf(store(), p, true);
    const auto text = si::details(l, p, plan);
    EXPECT_NE(text.find("文件：/学校/总课表.xlsx"), std::string::npos);
    EXPECT_NE(text.find("识别为：按教师（.xlsx）"), std::string::npos);
    EXPECT_NE(text.find("第2行第31列："), std::string::npos);
    EXPECT_NE(text.find("  张三  2节\n  王五  1节\n  李四  1节\n"), std::string::npos);
}

}  // namespace
}  // namespace daike
