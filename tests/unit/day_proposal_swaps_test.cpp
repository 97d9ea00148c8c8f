// 一键安排 under 短假优先调课: a lesson a colleague of the class can swap for is proposed as
// that swap, the later rows see the colleague busy, the operator may still choose a cover, and
// confirming writes the swaps and the covers together or nothing at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "basedata/demo_school.h"
#include "engine/assignment.h"
#include "engine/day_proposal.h"
#include "engine/free_period_leave.h"
#include "school/cover_rules.h"
#include "school/resets.h"
#include "store/tables/swaps.h"
#include "store/week.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::TempStore;

// Week 15 of a term that began on 2026/8/31: Wednesday is 12月9日. 张老师 and 孙老师 are
// absent in period 1. 李老师 teaches 一(1) on Thursday and 一(3) on Friday, so he could swap
// for either lesson; 赵老师 and 钱老师 teach neither class and can only cover.
class SwapsFirst : public ::testing::Test {
  protected:
    void SetUp() override {
        db->execScript(R"(
            INSERT INTO 开学第一天 VALUES ('2026/8/31');
            INSERT INTO 教师姓名 VALUES ('张老师',NULL,'一(1)',NULL,NULL,NULL),
                ('孙老师',NULL,NULL,NULL,NULL,'一(3)'),
                ('李老师',NULL,NULL,'一(1),一(3)',NULL,NULL),
                ('赵老师',NULL,NULL,NULL,NULL,NULL),('钱老师',NULL,NULL,NULL,NULL,NULL);
            INSERT INTO 任课情况 VALUES ('张老师',3,'一(1)',1,'语文',NULL,NULL),
                ('孙老师',3,'一(3)',1,'科学',NULL,NULL),
                ('李老师',4,'一(1)',2,'数学',NULL,NULL),('李老师',5,'一(3)',3,'数学',NULL,NULL),
                ('赵老师',3,'二(1)',2,'体育',NULL,NULL),('钱老师',3,'二(2)',3,'美术',NULL,NULL);
            INSERT INTO 需代课目情况 VALUES ('张老师',3,'一(1)',1,'语文'),
                ('孙老师',3,'一(3)',1,'科学');
        )");
        buildFreeTeachers(*db);
        countDailyLessons(*db);
        resetCoverCounts(*db);
        leave::recordAway(*db, "张老师", 1, false);
        leave::recordAway(*db, "孙老师", 1, false);
    }

    void swapsFirst(bool on) { ASSERT_TRUE(rules::save(*db, rules::load(*db), {5, on})); }

    std::vector<dayplan::Row> propose(const std::vector<dayplan::Pick>& picks = {},
                                      const std::string& week = "15") {
        return dayplan::propose(*db, {week, "3", {}, true}, dayplan::queuedLessons(*db, "3"),
                                picks);
    }

    // Each row as the window shows its choice: "调李老师@12月10日第2节", a substitute, or "-".
    static std::string shown(const std::vector<dayplan::Row>& rows) {
        std::string s;
        for (const auto& r : rows) {
            if (!s.empty()) s += ",";
            if (const auto* w = r.swap())
                s += "调" + w->colleague + "@" + w->when;
            else
                s += r.substitute() ? r.substitute()->name : "-";
        }
        return s;
    }

    std::string written() {
        std::string out;
        for (const char* t : {"调课记录", "代课记录", "当天代课记录", "代课节数", "需代课目情况",
                              "代课教师", "任课情况"})
            out += db.all(std::string("SELECT * FROM ") + t + " ORDER BY rowid") + "\n";
        return out;
    }

    const dayplan::Day day{"15", "3", {{"张老师", "病假"}, {"孙老师", "事假"}}, true};
    TempStore db;
};

TEST_F(SwapsFirst, OffTheProposalIsThePlainOneAndOnTheFirstSwapIsProposed) {
    // Off (the default): covers only, 李老师 free in period 1 covers the first lesson.
    const auto plain = propose();
    EXPECT_EQ(shown(plain), "李老师,赵老师");
    for (const auto& r : plain) EXPECT_TRUE(r.swaps.empty());

    swapsFirst(true);
    const auto before = written();
    const auto rows = propose();
    EXPECT_EQ(written(), before) << "the proposal itself wrote something";
    // 李老师 swaps for 张老师's lesson; for 孙老师's, in the same period, he is taken: neither
    // a swap nor a cover with him is offered, and the row falls to a cover.
    EXPECT_EQ(shown(rows), "调李老师@12月10日第2节,赵老师");
    ASSERT_EQ(rows[0].swaps.size(), 1u);
    EXPECT_EQ(rows[0].chosen, -1);
    EXPECT_TRUE(rows[0].placed());
    EXPECT_EQ(rows[0].why, (std::vector<std::string>{"调课", "任本班数学", "不计代课"}));
    // The cover candidates stay on the row for the operator to choose instead.
    EXPECT_FALSE(rows[0].candidates.empty());
    EXPECT_TRUE(rows[1].swaps.empty());
    for (const auto& c : rows[1].candidates) EXPECT_NE(c.name, "李老师");

    // Without a known week there is no other slot to swap with.
    EXPECT_EQ(shown(propose({}, "")), "李老师,赵老师");
}

TEST_F(SwapsFirst, TheOperatorMayCoverOrLeaveOpenAndTheLaterRowsFollow) {
    swapsFirst(true);
    // 张老师's lesson given to 钱老师: 李老师 is free again for 孙老师's, and swaps for it.
    auto rows = propose({dayplan::Pick::of("钱老师")});
    EXPECT_EQ(shown(rows), "钱老师,调李老师@12月11日第3节");
    rows = propose({dayplan::Pick::open()});
    EXPECT_EQ(shown(rows), "-,调李老师@12月11日第3节");
    // A swap picked back by colleague and slot; one no longer open falls back to the first.
    rows = propose({dayplan::Pick::swapWith("李老师", {15, 4, 2})});
    EXPECT_EQ(shown(rows), "调李老师@12月10日第2节,赵老师");
    EXPECT_FALSE(rows[0].pickLost);
    rows = propose({dayplan::Pick::of("钱老师"), dayplan::Pick::swapWith("李老师", {15, 4, 2})});
    EXPECT_TRUE(rows[1].pickLost);
    EXPECT_EQ(shown(rows), "钱老师,调李老师@12月11日第3节");
}

TEST_F(SwapsFirst, ConfirmRecordsTheSwapWithoutCoverOrTallyAndTheCoverAsEver) {
    swapsFirst(true);
    const auto rows = propose();
    ASSERT_EQ(shown(rows), "调李老师@12月10日第2节,赵老师");
    EXPECT_EQ(dayplan::confirm(*db, day, rows, "2026-12-09 08:15:00"), 1);

    const auto swaps = swaps::ofTerm(*db, "2026/8/31");
    ASSERT_EQ(swaps.size(), 1u);
    const auto& s = swaps[0];
    EXPECT_EQ(s.teacher + s.cls + s.subject + s.colleague + s.colleagueSubject + s.reason,
              "张老师一(1)语文李老师数学病假");
    EXPECT_EQ(s.first, (Slot{15, 3, 1}));
    EXPECT_EQ(s.second, (Slot{15, 4, 2}));
    EXPECT_EQ(s.recorded, "2026-12-09 08:15:00");
    // The swap is no cover: only 孙老师's lesson is in the records and the tallies.
    EXPECT_EQ(db.all("SELECT * FROM 代课记录"), "孙老师|事假|赵老师|15|3|一(3)|科学|1");
    EXPECT_EQ(db.all("SELECT 被代 FROM 当天代课记录"), "孙老师");
    EXPECT_EQ(db.all("SELECT 姓名, 当日代课, 学期代课 FROM 代课节数 WHERE 学期代课 > 0"),
              "赵老师|1|1");
    EXPECT_EQ(db.count("需代课目情况"), 0);
}

TEST_F(SwapsFirst, ARowThatNoLongerStandsWritesNothing) {
    swapsFirst(true);
    const auto rows = propose();
    // Meanwhile 李老师 was booked in period 1: the swap can no longer be made.
    leave::recordAway(*db, "李老师", 1, true);
    const auto booked = written();
    try {
        dayplan::confirm(*db, day, rows, "t");
        FAIL() << "swapped with a colleague who is away";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("李老师"), std::string::npos) << e.what();
    }
    EXPECT_EQ(written(), booked);
    leave::withdraw(*db, "李老师", {true, false, false, false, false, false});

    // The cover after the swap fails: the swap before it goes too.
    leave::recordAway(*db, "赵老师", 1, true);
    const auto coverBooked = written();
    EXPECT_THROW(dayplan::confirm(*db, day, rows, "t"), Failure);
    EXPECT_EQ(written(), coverBooked);

    // A swap needs the absent teacher's reason as a cover does.
    leave::withdraw(*db, "赵老师", {true, false, false, false, false, false});
    const auto before = written();
    EXPECT_THROW(dayplan::confirm(*db, {"15", "3", {{"孙老师", "事假"}}, true}, rows, "t"),
                 Failure);
    EXPECT_EQ(written(), before);
}

// On random demo schools with several teachers away for a day: the proposal writes nothing;
// confirmed, every row is a swap, a cover or still queued, the swaps cost no tally, and nobody
// is in two places in a period of the day (a swap's colleague neither teaching his own lesson
// nor covering then, nor one of the day's absent teachers).
TEST(SwapsFirstProperty, RandomDaysConfirmWhatWasProposedWithNobodyInTwoPlaces) {
    int swapsSeen = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempStore db;
        std::mt19937 rnd(seed);
        demo::School school;
        for (int n = 16 + static_cast<int>(rnd() % 10);; n += 2) {
            auto plan = demo::planFor(n);
            plan.seed = seed;
            try {
                school = demo::fillSchool(*db, plan);
                break;
            } catch (const std::exception&) {
            }
        }
        const int weekday = 1 + static_cast<int>(seed % 5);
        const std::string weekdayText = std::to_string(weekday);
        std::map<std::string, std::string> reasons;
        while (reasons.size() < 3) {
            const auto& t = school.teachers[rnd() % school.teachers.size()];
            if (reasons.count(t) || assignment::loadDay(*db, t, weekdayText).empty()) continue;
            reasons[t] = "病假";
            for (const auto& l : assignment::loadDay(*db, t, weekdayText)) {
                db->exec(
                    "INSERT INTO 需代课目情况 VALUES (?,?,?,?,?)",
                    {Value(t), Value(weekday), Value(l.cls), Value(l.period), Value(l.subject)});
                leave::recordAway(*db, t, l.period, false);
            }
        }
        ASSERT_TRUE(rules::save(*db, {}, {1 + static_cast<int>(seed % 6), true}));
        const dayplan::Day day{"15", weekdayText, reasons, true};

        auto dump = [&] {
            std::string out;
            for (const char* t : {"调课记录", "代课记录", "当天代课记录", "代课节数",
                                  "需代课目情况", "代课教师", "任课情况"})
                out += db.all(std::string("SELECT * FROM ") + t + " ORDER BY rowid") + "\n";
            return out;
        };
        const auto before = dump();
        const auto rows = dayplan::propose(*db, day, dayplan::queuedLessons(*db, weekdayText));
        ASSERT_EQ(dump(), before) << "the proposal itself wrote something";
        int swaps = 0, covers = 0, open = 0;
        for (const auto& r : rows) {
            swaps += r.swap() ? 1 : 0;
            covers += r.substitute() ? 1 : 0;
            open += r.placed() ? 0 : 1;
        }
        swapsSeen += swaps;

        EXPECT_EQ(dayplan::confirm(*db, day, rows, "t"), covers);
        EXPECT_EQ(db.count("调课记录"), swaps);
        EXPECT_EQ(db.count("代课记录"), covers);
        EXPECT_EQ(db.one("SELECT sum(当日代课) FROM 代课节数"), std::to_string(covers));
        EXPECT_EQ(db.count("需代课目情况"), open);

        for (int period = 1; period <= week::kPeriods; ++period) {
            SCOPED_TRACE("period " + std::to_string(period));
            std::multiset<std::string> there;
            for (const auto& t : swapping::inSlot(*db, {15, weekday, period}))
                if (!t.returnSlot) there.insert(t.taker);
            for (const auto& row : db->selectText("SELECT 代者 FROM 当天代课记录 WHERE 节次 = " +
                                                  std::to_string(period)))
                there.insert(*row[0]);
            for (const auto& name : there) {
                EXPECT_EQ(there.count(name), 1u) << name;
                EXPECT_EQ(reasons.count(name), 0u) << name;
                EXPECT_EQ(
                    db.one("SELECT count(*) FROM 任课情况 WHERE 姓名 = '" + name +
                           "' AND 星期 = " + weekdayText + " AND 节次 = " + std::to_string(period)),
                    "0")
                    << name;
            }
        }
    }
    // The schools offer swaps at all, or the checks above prove nothing.
    EXPECT_GT(swapsSeen, 0);
    RecordProperty("swaps", swapsSeen);
}

}  // namespace
}  // namespace daike
