// Statistics of a past term, a month, a school year or any days: the records of every term,
// the cleared ones from 代课存档.
#include <gtest/gtest.h>

#include "school/resets.h"
#include "statistics/figures.h"
#include "statistics/tables.h"
#include "store/store.h"
#include "store/tables/covers.h"
#include "test_support.h"

namespace daike::statistics {
namespace {

using calendar::makeDay;
using testing::TempStore;

CoverRecord cover(const char* week, int weekday, const char* substitute, const char* absent,
                  const char* reason = "病假") {
    return {absent, reason, substitute, week, weekday, "三(2)", "语文", 2};
}

int coveredBy(const Figures& f, const std::string& name) {
    for (const auto& t : f.teachers)
        if (t.name == name) return t.covered;
    return -1;
}

const TeacherFigures* teacher(const Figures& f, const std::string& name) {
    for (const auto& t : f.teachers)
        if (t.name == name) return &t;
    return nullptr;
}

// Autumn 2024 (first day 2 September) and spring 2025 (17 February): the autumn term cleared.
void twoTerms(TempStore& db) {
    db->execScript(
        "INSERT INTO 教师姓名 (姓名) VALUES ('王芳'),('赵六'),('李明'),('孙七');"
        "INSERT INTO 开学第一天 VALUES ('2024/9/2');");
    for (const auto& r : {cover("1", 1, "王芳", "李明"), cover("3", 2, "王芳", "李明", "事假"),
                          cover("3", 2, "赵六", "孙七"), cover("8", 4, "孙七", "李明")})
        covers::append(*db, CoverTable::Term, r);
}

TEST(StatisticsRanges, APastTermShowsWhatItShowedBeforeItWasCleared) {
    TempStore db;
    twoTerms(db);
    const Figures before = compute(*db, Range::term());
    clearTermRecords(*db);
    // 孙七 has left since: he keeps his cover, marked as gone.
    db->exec("DELETE FROM 教师姓名 WHERE 姓名 = '孙七'");

    const Figures past = compute(*db, Range::pastTerm("2024年秋季学期"));
    EXPECT_EQ(past.covered, before.covered);
    EXPECT_EQ(past.records, before.records);
    for (const char* n : {"王芳", "赵六", "孙七"})
        EXPECT_EQ(coveredBy(past, n), coveredBy(before, n)) << n;
    ASSERT_NE(teacher(past, "孙七"), nullptr);
    EXPECT_FALSE(teacher(past, "孙七")->onList);
    EXPECT_EQ(past.range.label(), "2024年秋季学期");
    // The term's weeks keep their dates.
    ASSERT_TRUE(past.termStart);
    const Table weeks = weekTable(past);
    EXPECT_EQ(weeks.headers.back(), "日期");
    EXPECT_EQ(weeks.rows[0].cells[0].number, 1);
    EXPECT_EQ(weeks.rows[0].cells.back().text, "9月2日至9月6日");

    // This term starts empty, as it did before the archive existed.
    EXPECT_EQ(compute(*db, Range::term()).covered, 0);
}

TEST(StatisticsRanges, ASchoolYearAddsBothTermsAndAMonthOnlyItsDays) {
    TempStore db;
    twoTerms(db);
    clearTermRecords(*db);
    db->exec("UPDATE 开学第一天 SET 日期 = '2025/2/17'");
    covers::append(*db, CoverTable::Term, cover("1", 3, "王芳", "赵六"));  // 19 February 2025
    covers::append(*db, CoverTable::Term, cover("2", 1, "赵六", "王芳"));  // 24 February 2025

    const Figures year = compute(*db, Range::schoolYear(2024));
    EXPECT_EQ(year.covered, 6);
    EXPECT_EQ(coveredBy(year, "王芳"), 3);
    EXPECT_EQ(coveredBy(year, "赵六"), 2);
    EXPECT_EQ(year.range.label(), "2024—2025学年");
    EXPECT_EQ(compute(*db, Range::schoolYear(2025)).covered, 0);

    const Figures feb = compute(*db, Range::month(2025, 2));
    EXPECT_EQ(feb.covered, 2);
    EXPECT_EQ(compute(*db, Range::month(2024, 9)).covered, 3);   // weeks 1 and 3
    EXPECT_EQ(compute(*db, Range::month(2024, 10)).covered, 1);  // week 8: 24 October
    EXPECT_EQ(compute(*db, Range::days(makeDay(2024, 9, 17), makeDay(2025, 2, 19))).covered, 4);

    // Across terms the weeks are the calendar's: rows by Monday, dated.
    const Table weeks = weekTable(feb);
    ASSERT_EQ(weeks.rows.size(), 2u);
    EXPECT_EQ(weeks.rows[0].cells[0].text, "2025年2月17日");
    EXPECT_EQ(weeks.rows[0].cells.back().text, "2月17日至2月21日");
    EXPECT_EQ(weeks.rows[1].cells.back().text, "2月24日至2月28日");

    // What 其他 offers: the past term, the school year, the months, newest first.
    std::vector<std::string> offered;
    for (const auto& r : otherRanges(*db)) offered.push_back(r.label());
    EXPECT_EQ(offered, (std::vector<std::string>{"2024年秋季学期", "2024—2025学年", "2025年2月",
                                                 "2024年10月", "2024年9月"}));
}

TEST(StatisticsRanges, RangesAreNamedAndBoundedAsTheOfficeSaysThem) {
    const auto feb = Range::month(2024, 2);
    EXPECT_EQ(feb.from, "2024-02-01");
    EXPECT_EQ(feb.to, "2024-02-29");
    EXPECT_EQ(feb.label(), "2024年2月");
    EXPECT_EQ(Range::month(2025, 12).to, "2025-12-31");
    const auto year = Range::schoolYear(2025);
    EXPECT_EQ(year.from, "2025-09-01");
    EXPECT_EQ(year.to, "2026-08-31");
    EXPECT_EQ(Range::days(makeDay(2026, 9, 1), makeDay(2026, 9, 15)).label(),
              "2026年9月1日至9月15日");
    EXPECT_EQ(Range::days(makeDay(2025, 12, 29), makeDay(2026, 1, 2)).label(),
              "2025年12月29日至2026年1月2日");
    EXPECT_EQ(Range::days(makeDay(2026, 9, 1), makeDay(2026, 9, 1)).label(), "2026年9月1日");
    EXPECT_FALSE(Range::pastTerm("2024年秋季学期").thisTerm());
    EXPECT_TRUE(Range::weeks(2, 5).thisTerm());
}

}  // namespace
}  // namespace daike::statistics
