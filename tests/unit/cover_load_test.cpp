// A candidate's day at a glance and what 代课规则 make of it: the strip of his periods, the
// week's cover counted from the week's records only, the limits, two lessons in a row, and the
// order of the list once limits or balancing apply. The ranking's in-memory order must be the
// table's query order exactly, or 一键安排 would propose someone else than row 1.
#include "engine/cover_load.h"

#include <gtest/gtest.h>

#include <random>

#include "store/tables/candidates.h"
#include "test_support.h"

namespace daike {
namespace {

using coverload::Limit;
using coverload::Slot;
using testing::SchoolBuilder;
using testing::TempStore;

TEST(CoverLoad, StripWeekAndTermOfOneTeacher) {
    TempStore db;
    SchoolBuilder(*db)
        .lesson("李", 3, "一(1)", 3, "语文")
        .lesson("李", 2, "一(1)", 1, "语文")  // another weekday: not today's
        .cover("当天代课记录", "张", "病假", "李", "5", 3, "二(1)", "数学", 5)
        .cover("代课记录", "张", "病假", "李", "5", 3, "二(1)", "数学", 5)
        .cover("代课记录", "王", "公出", "李", "5", 1, "三(1)", "英语", 2)
        .cover("代课记录", "王", "公出", "李", "4", 1, "三(1)", "英语", 2)  // last week
        .tally("李", 1, 7)
        .build();
    const auto loads = coverload::DayLoads::read(*db, "5", 3);
    const auto li = loads.of("李");
    EXPECT_EQ(coverload::strip(li), "1 2 ■ 4 □ 6");
    EXPECT_EQ(li.today, 1);
    EXPECT_EQ(li.week, 2);
    EXPECT_EQ(li.term, 7);
    EXPECT_EQ(coverload::strip(loads.of("无名")), "1 2 3 4 5 6");

    auto more = loads;
    more.addCover("李", 4);
    more.addCover("李", 3);  // a period he teaches stays his own lesson
    const auto after = more.of("李");
    EXPECT_EQ(coverload::strip(after), "1 2 ■ □ □ 6");
    EXPECT_EQ(after.today, 3);
    EXPECT_EQ(after.week, 4);
    EXPECT_EQ(after.term, 9);
}

TEST(CoverLoad, LimitsAndTwoInARow) {
    rules::CoverRules r;
    coverload::Load l;
    l.today = 2;
    l.week = 4;
    EXPECT_EQ(coverload::reached(r, l), Limit::None);
    r.perWeek = 5;
    EXPECT_EQ(coverload::reached(r, l), Limit::None);
    r.perWeek = 4;
    EXPECT_EQ(coverload::reached(r, l), Limit::Week);
    r.perDay = 2;
    EXPECT_EQ(coverload::reached(r, l), Limit::Day);  // the day's is told first
    EXPECT_EQ(coverload::limitText(Limit::Day), "已达每日上限");
    EXPECT_EQ(coverload::overLimitQuestion(Limit::Day, l), "已代2节，超过每日上限，仍然安排？");
    EXPECT_EQ(coverload::overLimitQuestion(Limit::None, l), "");

    coverload::Load day;
    day.periods[2] = Slot::Taught;   // period 3
    day.periods[5] = Slot::Covered;  // period 6
    EXPECT_TRUE(coverload::inARow(day, 2));
    EXPECT_TRUE(coverload::inARow(day, 4));
    EXPECT_TRUE(coverload::inARow(day, 5));
    EXPECT_FALSE(coverload::inARow(day, 1));
    EXPECT_FALSE(coverload::inARow(day, 3));  // the period itself is not "in a row"
    // Period 1 has nothing before it, period 6 nothing after it.
    coverload::Load edges;
    edges.periods[1] = Slot::Taught;  // period 2
    EXPECT_TRUE(coverload::inARow(edges, 1));
    EXPECT_FALSE(coverload::inARow(edges, 6));
}

ranking::Candidate candidate(std::string name, int mark, double today = 0) {
    ranking::Candidate c;
    c.name = std::move(name);
    c.affinity = mark == 2 ? "班" : mark == 1 ? "数" : "";
    c.classMark = mark;
    c.lessonsToday = Value(today);
    c.coversToday = Value(today);
    c.adjacent = "否";
    c.coversThisTerm = Value(0.0);
    return c;
}

std::string names(const std::vector<ranking::Candidate>& rows) {
    std::string out;
    for (const auto& r : rows) out += (out.empty() ? "" : ",") + r.name;
    return out;
}

TEST(CoverLoad, LimitedLastAndBalancedWithinEachAffinityClass) {
    TempStore db;
    // Today's tallies: 甲 and 丁 have covered twice, 乙 once; this week 丙 has covered 3.
    SchoolBuilder(*db)
        .tally("甲", 2, 2)
        .tally("乙", 1, 1)
        .tally("丙", 0, 3)
        .tally("丁", 2, 2)
        .tally("戊", 0, 0)
        .cover("代课记录", "某", "病假", "丙", "5", 1, "一(1)", "语文", 1)
        .cover("代课记录", "某", "病假", "丙", "5", 1, "一(1)", "语文", 2)
        .cover("代课记录", "某", "病假", "丙", "5", 2, "一(1)", "语文", 1)
        .build();
    const auto loads = coverload::DayLoads::read(*db, "5", 3);
    const std::vector<ranking::Candidate> ranked = {candidate("甲", 2), candidate("乙", 1),
                                                    candidate("丙", 1), candidate("丁", 0),
                                                    candidate("戊", 0)};

    auto plain = ranked;
    const auto standings = coverload::arrange(plain, loads, {}, false);
    EXPECT_EQ(names(plain), "甲,乙,丙,丁,戊");  // the plain rules move nobody
    ASSERT_EQ(standings.size(), 5u);
    EXPECT_EQ(standings[2].load.week, 3);

    rules::CoverRules caps;
    caps.perDay = 2;
    auto capped = ranked;
    auto s = coverload::arrange(capped, loads, caps, false);
    EXPECT_EQ(names(capped), "乙,丙,戊,甲,丁");
    EXPECT_EQ(s[3].limit, Limit::Day);
    EXPECT_EQ(s[0].limit, Limit::None);
    EXPECT_EQ(coverload::firstAllowed(s, caps, 3), 0);

    caps.perWeek = 3;
    capped = ranked;
    s = coverload::arrange(capped, loads, caps, false);
    EXPECT_EQ(names(capped), "乙,戊,甲,丙,丁");
    EXPECT_EQ(s[3].limit, Limit::Week);

    // Balanced: 乙 (one today) after 丙 (none today) within the main-subject class; the head
    // teacher stays first though he covered twice; 戊 before 丁 among the others.
    auto balanced = ranked;
    coverload::arrange(balanced, loads, {}, true);
    EXPECT_EQ(names(balanced), "甲,丙,乙,戊,丁");

    // Nobody allowed: every candidate at his limit.
    rules::CoverRules one;
    one.perDay = 1;
    auto none = std::vector<ranking::Candidate>{candidate("甲", 2), candidate("乙", 1)};
    EXPECT_EQ(coverload::firstAllowed(coverload::arrange(none, loads, one, false), one, 3), -1);
}

TEST(CoverLoad, TwoInARowSkippedOnlyWhenTheSchoolSaysSo) {
    TempStore db;
    SchoolBuilder(*db).lesson("甲", 3, "一(1)", 2, "语文").tallies({"甲", "乙"}).build();
    const auto loads = coverload::DayLoads::read(*db, "5", 3);
    auto rows = std::vector<ranking::Candidate>{candidate("甲", 2), candidate("乙", 0)};
    rules::CoverRules r;
    const auto s = coverload::arrange(rows, loads, r, false);
    EXPECT_EQ(coverload::firstAllowed(s, r, 3), 0);
    r.inARow = false;
    EXPECT_EQ(coverload::firstAllowed(s, r, 3), 1);
    EXPECT_EQ(coverload::firstAllowed(s, r, 5), 0);
}

TEST(CandidateOrder, InMemoryOrderIsTheQueryOrderOnRandomRows) {
    TempStore db;
    std::mt19937 rnd(7);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    const char* const affinities[] = {"",   "",   "班", "班语", "班语数", "班数",
                                      "语", "数", "英", "科",   "语英",   "数科"};
    for (int round = 0; round < 40; ++round) {
        std::vector<CandidateRow> rows;
        const int n = 1 + pick(40);
        for (int i = 0; i < n; ++i) {
            CandidateRow c;
            c.name = "教师" + std::to_string(i);
            c.affinity = affinities[pick(12)];
            c.classMark = c.affinity.empty() ? 0 : c.affinity.rfind("班", 0) == 0 ? 2 : 1;
            c.coversToday = Value(static_cast<double>(pick(3)));
            c.lessonsToday = Value(pick(4) + c.coversToday.toDouble());
            c.adjacent = pick(2) ? "是" : "否";
            c.coversThisTerm = Value(static_cast<double>(pick(4)));
            rows.push_back(c);
        }
        candidates::replaceScores(*db, rows);
        const auto fromTable = candidates::ranked(*db);
        auto inMemory = rows;
        candidates::sortRanked(*db, inMemory);
        ASSERT_EQ(inMemory.size(), fromTable.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(inMemory[i].name, fromTable[i].name) << "round " << round << " row " << i;
    }
}

}  // namespace
}  // namespace daike
