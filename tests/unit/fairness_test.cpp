// 代课公平性: which records fall in a range of dates, the timetabled lessons of its school days,
// the share, the spread over those who can be asked, and a table that tells nothing of absences.
#include "statistics/fairness.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace daike {
namespace {

using namespace statistics;
using calendar::makeDay;
using testing::SchoolBuilder;
using testing::TempStore;

// Term from Monday 2026-08-31. 张三 teaches 2 lessons on Monday and 1 on Wednesday, 李四 3 on
// Tuesday, 王五 none; 赵六 is exempt with 1 on Monday. 孙八 has left (he was ill in week 2),
// 钱七 has left too (he covered in week 2).
void school(TempStore& db) {
    SchoolBuilder(*db)
        .termStart("2026-08-31")
        .teachers({"张三", "李四", "王五", "赵六"})
        .sql("INSERT INTO 公出表 VALUES ('赵六');")
        .lesson("张三", 1, "一(1)", 1, "语文")
        .lesson("张三", 1, "一(1)", 2, "数学")
        .lesson("张三", 3, "一(1)", 1, "语文")
        .lesson("李四", 2, "一(2)", 1, "语文")
        .lesson("李四", 2, "一(2)", 2, "语文")
        .lesson("李四", 2, "一(2)", 3, "语文")
        .lesson("赵六", 1, "一(2)", 4, "音乐")
        // week 1 Friday 9-4, the day before the range below
        .cover("代课记录", "孙八", "病假", "李四", "1", 5, "一(3)", "语文", 1)
        // week 2 Monday 9-7 and Friday 9-11: the range's first and last day
        .cover("代课记录", "孙八", "病假", "张三", "2", 1, "一(3)", "语文", 1)
        .cover("代课记录", "孙八", "事假", "张三", "2", 5, "一(3)", "数学", 2)
        .cover("代课记录", "孙八", "事假", "钱七", "2", 3, "一(3)", "数学", 3)
        // week 3 Monday 9-14, the day after the range's weekend; a week that reads as none
        .cover("代课记录", "孙八", "公出", "王五", "3", 1, "一(3)", "语文", 1)
        .cover("代课记录", "孙八", "公出", "王五", "?", 2, "一(3)", "语文", 1)
        .build();
}

const FairnessRow& row(const Fairness& f, const std::string& name) {
    for (const auto& r : f.rows)
        if (r.name == name) return r;
    ADD_FAILURE() << "no " << name;
    static FairnessRow none;
    return none;
}

Fairness sheet(TempStore& db, DateRange range, calendar::Day today = makeDay(2026, 9, 30)) {
    auto f = fairness(*db, range, today);
    EXPECT_TRUE(f.accepted()) << (f ? "" : f.refusal().message);
    return f ? *f : Fairness{};
}

TEST(FairnessRanges, WeekMonthTermAndTypedDates) {
    // A Saturday belongs to the week just ended.
    const auto week = DateRange::thisWeek(makeDay(2026, 9, 12));
    EXPECT_EQ(week.from, makeDay(2026, 9, 7));
    EXPECT_EQ(week.to, makeDay(2026, 9, 11));
    EXPECT_EQ(week.label(), "本周，2026年9月7日至9月11日");
    EXPECT_EQ(DateRange::thisWeek(makeDay(2026, 9, 7)).from, makeDay(2026, 9, 7));
    const auto month = DateRange::thisMonth(makeDay(2028, 2, 10));
    EXPECT_EQ(month.from, makeDay(2028, 2, 1));
    EXPECT_EQ(month.to, makeDay(2028, 2, 29));
    EXPECT_EQ(month.spoken(), "本月");
    EXPECT_EQ(DateRange::term(makeDay(2026, 8, 31), makeDay(2027, 1, 8)).dates(),
              "2026年8月31日至2027年1月8日");

    const auto typed = customRange(" 2026-09-01", "2026年9月30日");
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->label(), "2026年9月1日至9月30日");
    EXPECT_EQ(fairnessFileName(*typed, "pdf"), "代课公平性-20260901-20260930.pdf");
    const auto oneDay = customRange("2026/9/1", "2026.9.1");
    ASSERT_TRUE(oneDay);
    EXPECT_EQ(oneDay->dates(), "2026年9月1日");
    EXPECT_EQ(fairnessFileName(*oneDay, "xlsx"), "代课公平性-20260901.xlsx");

    const auto reversed = customRange("2026-09-30", "2026-09-01");
    ASSERT_FALSE(reversed);
    EXPECT_EQ(reversed.refusal().message, "结束日期不能早于开始日期。");
    EXPECT_FALSE(customRange("2026-02-30", "2026-03-01"));
    EXPECT_FALSE(customRange("", "2026-03-01"));
}

TEST(FairnessSheet, CountsTheRecordsOfTheRangesDaysAndTheLessonsOfItsSchoolDays) {
    TempStore db;
    school(db);
    const Fairness f = sheet(db, DateRange::custom(makeDay(2026, 9, 7), makeDay(2026, 9, 11)));
    // Those who can be asked, the exempt, then those who have left; 孙八 was only away.
    ASSERT_EQ(f.rows.size(), 5u);
    EXPECT_EQ(f.rows[3].name, "赵六");
    EXPECT_EQ(f.rows[4].name, "钱七");
    EXPECT_FALSE(f.rows[4].onList);
    EXPECT_EQ(f.covered, 3);
    EXPECT_EQ(f.schoolDays, 5);

    EXPECT_EQ(row(f, "张三").covered, 2);  // the first and the last day
    EXPECT_EQ(row(f, "张三").lessons, 3);
    EXPECT_EQ(row(f, "李四").covered, 0);  // his cover of the day before does not count
    EXPECT_EQ(row(f, "李四").lessons, 3);
    EXPECT_EQ(row(f, "王五").covered, 0);  // nor the day after, nor a week that reads as none
    EXPECT_EQ(row(f, "钱七").covered, 1);

    const Table t = fairnessTable(f);
    EXPECT_EQ(t.headers, (std::vector<std::string>{"教师", "代课节数", "任课节数", "代课占比"}));
    EXPECT_EQ(t.rows[0].cells[3].text, "66.7%");
    EXPECT_EQ(t.rows[0].cells[3].number, 66.7);
    EXPECT_EQ(t.rows[1].cells[3].text, "0.0%");
    EXPECT_EQ(t.rows[2].cells[3].text, "—");  // no lessons
    EXPECT_FALSE(t.rows[2].cells[3].number);
    EXPECT_TRUE(t.rows[3].exempt);
    EXPECT_TRUE(t.rows[4].former);
    ASSERT_TRUE(t.totals);
    EXPECT_EQ(t.totals->cells[1].text, "3");
    EXPECT_EQ(t.totals->cells[2].text, "7");
    EXPECT_EQ(t.totals->cells[3].text, "42.9%");
    EXPECT_EQ(
        apartNote(f),
        "免代教师（灰色，不计入最多、最少和平均）：赵六。已不在教师名单（只列代课节数）：钱七。");

    // The term so far: every record with a day, up to today.
    const Fairness term = sheet(db, DateRange::term(makeDay(2026, 8, 31), makeDay(2026, 9, 30)));
    EXPECT_EQ(term.covered, 5);
    EXPECT_EQ(row(term, "王五").covered, 1);
    EXPECT_EQ(term.schoolDays, 23);
}

TEST(FairnessSheet, WeekendsDaysBeforeTheTermAndDaysToComeHaveNoLessons) {
    TempStore db;
    school(db);
    // Saturday before the term to the Sunday after its first week.
    const DateRange range = DateRange::custom(makeDay(2026, 8, 29), makeDay(2026, 9, 6));
    Fairness f = sheet(db, range);
    EXPECT_EQ(f.schoolDays, 5);
    EXPECT_EQ(row(f, "张三").lessons, 3);
    EXPECT_EQ(row(f, "李四").lessons, 3);
    EXPECT_EQ(row(f, "赵六").lessons, 1);
    // Seen on the Tuesday: Monday and Tuesday only.
    f = sheet(db, range, makeDay(2026, 9, 1));
    EXPECT_EQ(f.schoolDays, 2);
    EXPECT_EQ(row(f, "张三").lessons, 2);
    EXPECT_EQ(row(f, "李四").lessons, 3);
    // A range entirely before the term.
    f = sheet(db, DateRange::custom(makeDay(2026, 8, 1), makeDay(2026, 8, 28)));
    EXPECT_EQ(f.schoolDays, 0);
    EXPECT_EQ(fairnessTable(f).totals->cells[3].text, "—");
}

TEST(FairnessSheet, SpreadOverThoseWhoCanBeAsked) {
    TempStore db;
    school(db);
    const Fairness f = sheet(db, DateRange::custom(makeDay(2026, 9, 7), makeDay(2026, 9, 11)));
    // 张三 2, 李四 0, 王五 0; the exempt and 钱七 who has left are not counted.
    const Spread s = spread(f);
    EXPECT_EQ(s.teachers, 3);
    EXPECT_EQ(s.highest, 2);
    EXPECT_EQ(s.lowest, 0);
    EXPECT_NEAR(s.mean, 2.0 / 3, 1e-9);
    EXPECT_NEAR(s.deviation, 0.9428, 1e-4);
    EXPECT_EQ(spreadSentence(f),
              "2026年9月7日至9月11日代课最多 2 节（张三），最少 0 节（李四、王五），平均 0.7 节，"
              "标准差 0.9 节。");
    const Table t = fairnessTable(f);
    const Chart c = fairnessChart(f, t);
    EXPECT_EQ(c.title, "各教师代课节数（2026年9月7日至9月11日）");
    ASSERT_EQ(c.bars.size(), 4u);  // 钱七 is not drawn
    EXPECT_TRUE(c.bars[3].exempt);
}

TEST(FairnessSheet, SaysNothingOfAbsences) {
    TempStore db;
    school(db);
    const Fairness f = sheet(db, DateRange::term(makeDay(2026, 8, 31), makeDay(2026, 9, 30)));
    Table t = fairnessTable(f);
    sortFairnessTable(t, 1, true);
    std::vector<const TableRow*> rows;
    for (const auto& r : t.rows) rows.push_back(&r);
    rows.push_back(&*t.totals);
    for (const auto* r : rows) {
        for (const auto& c : r->cells) {
            EXPECT_EQ(c.text.find("孙八"), std::string::npos);
            for (const char* reason : {"病假", "事假", "公出", "被代"})
                EXPECT_EQ(c.text.find(reason), std::string::npos) << c.text;
        }
    }
    for (const auto& h : t.headers)
        for (const char* word : {"被代", "性质", "病假", "事假", "公出"})
            EXPECT_EQ(h.find(word), std::string::npos) << h;
    EXPECT_EQ(apartNote(f).find("孙八"), std::string::npos);
    EXPECT_EQ(spreadSentence(f).find("孙八"), std::string::npos);
}

TEST(FairnessSheet, SortingKeepsThoseShownApartLast) {
    TempStore db;
    school(db);
    const Fairness f = sheet(db, DateRange::term(makeDay(2026, 8, 31), makeDay(2026, 9, 30)));
    Table t = fairnessTable(f);
    sortFairnessTable(t, 1, true);  // 钱七's 1 and 赵六's 0 stay below 张三 2, 李四 1, 王五 1
    EXPECT_EQ(t.rows[0].cells[0].text, "张三");
    EXPECT_EQ(t.rows[3].cells[0].text, "赵六");
    EXPECT_EQ(t.rows[4].cells[0].text, "钱七");
    sortFairnessTable(t, 3, false);  // the share: 王五's "—" after the numbers
    EXPECT_EQ(t.rows[2].cells[0].text, "王五");
    EXPECT_EQ(t.rows[4].cells[0].text, "钱七");
}

TEST(FairnessSheet, RefusesReversedRangesAndAnUnknownTerm) {
    TempStore db;
    school(db);
    const auto reversed = fairness(
        *db, DateRange::custom(makeDay(2026, 9, 11), makeDay(2026, 9, 7)), makeDay(2026, 9, 30));
    ASSERT_FALSE(reversed);
    EXPECT_EQ(reversed.refusal().message, "结束日期不能早于开始日期。");
    TempStore empty;
    EXPECT_FALSE(fairness(*empty, DateRange::custom(makeDay(2026, 9, 7), makeDay(2026, 9, 11)),
                          makeDay(2026, 9, 30)));
}

}  // namespace
}  // namespace daike
