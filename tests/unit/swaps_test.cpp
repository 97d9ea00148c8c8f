// 调课: who may take a lesson in exchange for one of his own, what a swap does to the slots on
// both days, and that it is never counted as cover.
#include "engine/swaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/assignment.h"
#include "engine/ranking.h"
#include "school/resets.h"
#include "store/failure.h"
#include "store/store.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/queue.h"
#include "store/tables/tallies.h"
#include "store/tables/timetable.h"
#include "test_support.h"

namespace daike::swapping {
namespace {

using testing::TempStore;

// Week 15 of a term that began on 2026/8/31: Wednesday is 12月9日.
const SchoolDay kWednesday{15, true, 3};
const LessonAt kLesson{"张老师", "一(1)", "语文", {15, 3, 3}};

void school(TempStore& db) {
    db->execScript(R"(
        INSERT INTO 开学第一天 VALUES ('2026/8/31');
        INSERT INTO 教师姓名 VALUES ('张老师','一(1)','一(1)',NULL,NULL,NULL),
            ('李老师',NULL,NULL,'一(1)',NULL,NULL),('赵老师',NULL,NULL,NULL,'一(1),一(2)',NULL),
            ('钱老师',NULL,NULL,NULL,NULL,'一(10)'),('孙老师',NULL,NULL,NULL,NULL,'一(1)'),
            ('周老师',NULL,NULL,NULL,NULL,NULL),('吴老师',NULL,NULL,NULL,NULL,NULL);
        INSERT INTO 任课情况 VALUES ('张老师',3,'一(1)',3,'语文',NULL,NULL),
            ('张老师',4,'一(1)',2,'语文',NULL,NULL),('张老师',5,'一(2)',4,'语文',NULL,NULL),
            ('李老师',5,'一(1)',2,'数学',NULL,NULL),('李老师',4,'一(1)',4,'数学',NULL,NULL),
            ('李老师',3,'一(1)',5,'数学',NULL,NULL),
            ('赵老师',5,'一(1)',3,'英语',NULL,NULL),('赵老师',3,'一(2)',3,'英语',NULL,NULL),
            ('钱老师',4,'一(10)',1,'科学',NULL,NULL),('孙老师',1,'一(1)',1,'科学',NULL,NULL),
            ('周老师',4,'一(1)',5,'音乐',NULL,NULL),('吴老师',5,'一(1)',4,'美术',NULL,NULL);
        INSERT INTO 公出表 VALUES ('周老师');
    )");
    buildFreeTeachers(*db);
    countDailyLessons(*db);
    resetCoverCounts(*db);
}

std::vector<std::string> lines(const std::vector<Candidate>& found) {
    std::vector<std::string> out;
    for (const auto& c : found)
        out.push_back(c.colleague + " " + c.subject + " " + c.when + " " + c.affinity);
    return out;
}

using Lines = std::vector<std::string>;

TEST(SwapCandidates, SameClassBothFreeAndPresentWithinTheHorizon) {
    TempStore db;
    school(db);
    // 赵老师 teaches 一(2) in the lesson's own slot, 钱老师 teaches 一(10) not 一(1), 周老师 is
    // exempt, and 张老师 has a lesson of his own while 吴老师 teaches on Friday.
    EXPECT_EQ(lines(candidates(*db, kLesson, kWednesday, 5, true)),
              (Lines{"李老师 数学 12月10日第4节 数", "李老师 数学 12月11日第2节 数",
                     "孙老师 科学 12月14日第1节 科", "李老师 数学 12月16日第5节 数"}));
    // Present on the lesson's day, he may take a later lesson the same day.
    EXPECT_EQ(lines(candidates(*db, kLesson, kWednesday, 5, false)).front(),
              "李老师 数学 12月9日第5节 数");
    // The horizon counts school days: Thursday and Friday.
    EXPECT_EQ(lines(candidates(*db, kLesson, kWednesday, 2, true)),
              (Lines{"李老师 数学 12月10日第4节 数", "李老师 数学 12月11日第2节 数"}));
}

TEST(SwapCandidates, AwayAbsentOrAlreadyBusyTeachersAreLeftOut) {
    TempStore db;
    school(db);
    // 张老师 is absent on Friday (a cover of his lesson then), 孙老师 already covers in the
    // lesson's slot, and 李老师 is booked away in it today.
    covers::append(*db, CoverTable::Term,
                   {"张老师", "病假", "赵老师", "15", 5, "一(2)", "语文", 4});
    away::book(*db, 3, "李老师", true);
    EXPECT_TRUE(candidates(*db, kLesson, kWednesday, 5, true).empty() == false);
    EXPECT_EQ(lines(candidates(*db, kLesson, kWednesday, 5, true)),
              (Lines{"孙老师 科学 12月14日第1节 科"}));
    covers::append(*db, CoverTable::Term, {"王某", "病假", "孙老师", "15", 3, "二(1)", "语文", 3});
    EXPECT_TRUE(candidates(*db, kLesson, kWednesday, 5, true).empty());
    // Without a first day of term there is no week to find the other slot in.
    db->exec("DELETE FROM 开学第一天");
    EXPECT_TRUE(candidates(*db, kLesson, kWednesday, 5, true).empty());
}

TEST(Swap, ResolvesTheLessonWithoutCoverAndTheOtherSlotFollows) {
    TempStore db;
    school(db);
    queue::add(*db, {"张老师", 3, "一(1)", 3, "语文"});
    const auto found = candidates(*db, kLesson, kWednesday, 5, true);
    const auto friday = found[1];
    EXPECT_EQ(
        question(*db, kLesson, "李老师", friday),
        "是否确定：12月9日第3节一(1)语文由“李老师”老师上，“张老师”老师于12月11日第2节上“李老师”"
        "老师的一(1)数学，两节课互换，是否确定？");
    const auto id = record(*db, kLesson, "李老师", friday, "病假", kWednesday, "2026-12-09 08:00");
    ASSERT_TRUE(id) << id.refusal().message;

    // No cover anywhere, no tally, and the lesson no longer waits.
    EXPECT_FALSE(covers::any(*db, CoverTable::Term));
    EXPECT_FALSE(covers::any(*db, CoverTable::Today));
    EXPECT_EQ(tallies::find(*db, "李老师")->term, 0);
    EXPECT_TRUE(queue::read(*db).empty());

    // Wednesday: the lesson is swapped to 李老师, who is no longer free then.
    const auto wednesday = assignment::loadDay(*db, "张老师", "3", "15");
    ASSERT_EQ(wednesday.size(), 1u);
    EXPECT_TRUE(wednesday[0].dealtWith);
    EXPECT_TRUE(wednesday[0].swapped);
    EXPECT_EQ(wednesday[0].coveredBy, "李老师");
    const auto wed = ranking::eligibleTeachers(*db, "3", 3, "15");
    EXPECT_EQ(std::count(wed.begin(), wed.end(), "李老师"), 0);

    // Friday period 2: 张老师 teaches, 李老师 is free, for the ranking and for 一键安排.
    const auto fri = ranking::eligibleTeachers(*db, "5", 2, "15");
    EXPECT_EQ(std::count(fri.begin(), fri.end(), "张老师"), 0);
    EXPECT_EQ(std::count(fri.begin(), fri.end(), "李老师"), 1);
    ranking::Ranker ranker(*db);
    const auto ranked = ranker.rank("5", 2, "一(2)", "15").rows;
    EXPECT_TRUE(std::none_of(ranked.begin(), ranked.end(),
                             [](const ranking::Candidate& c) { return c.name == "张老师"; }));
    EXPECT_TRUE(std::any_of(ranked.begin(), ranked.end(),
                            [](const ranking::Candidate& c) { return c.name == "李老师"; }));
    // Period 3 after it: 张老师 teaches one lesson more that day and has just taught, 李老师
    // one fewer and has not.
    const auto third = ranking::rank(*db, "5", 3, "一(2)", "15").rows;
    const auto row = [&](const char* name) {
        return *std::find_if(third.begin(), third.end(),
                             [&](const ranking::Candidate& c) { return c.name == name; });
    };
    EXPECT_EQ(row("张老师").lessonsToday.toDouble(), 2);
    EXPECT_EQ(row("张老师").adjacent, "是");
    EXPECT_EQ(row("李老师").lessonsToday.toDouble(), 0);
    EXPECT_EQ(row("李老师").adjacent, "否");
    const auto sameByRanker = ranker.rank("5", 3, "一(2)", "15").rows;
    EXPECT_EQ(sameByRanker.size(), third.size());
    for (std::size_t i = 0; i < third.size() && i < sameByRanker.size(); ++i)
        EXPECT_EQ(sameByRanker[i].name, third[i].name);
    // Another week's Friday is untouched.
    const auto other = ranking::eligibleTeachers(*db, "5", 2, "16");
    EXPECT_EQ(std::count(other.begin(), other.end(), "张老师"), 1);
    const auto board = onDay(*db, 15, 5);
    ASSERT_EQ(board.size(), 1u);
    EXPECT_EQ(boardText(board[0]), "一(1) 第2节 张老师（与李老师调课）");

    // Nor covered on top of the swap, nor 李老师 given a cover in that slot.
    EXPECT_THROW(assignment::recordCover(
                     *db, {"张老师", "病假", "孙老师", "15", "3", "一(1)", "语文", 3}, true),
                 Failure);
    EXPECT_THROW(assignment::recordCover(
                     *db, {"赵老师", "病假", "李老师", "15", "3", "一(2)", "英语", 3}, false),
                 Failure);
    EXPECT_FALSE(covers::any(*db, CoverTable::Term));
    // The same lesson cannot be swapped twice, nor 李老师 given a second lesson in the slot.
    EXPECT_FALSE(record(*db, kLesson, "孙老师", std::nullopt, "病假", kWednesday, "x"));
    EXPECT_TRUE(candidates(*db, kLesson, kWednesday, 5, true).empty());
}

TEST(Swap, WithdrawnBeforeItsLessonTheLessonWaitsAgain) {
    TempStore db;
    school(db);
    queue::add(*db, {"张老师", 3, "一(1)", 3, "语文"});
    const auto found = candidates(*db, kLesson, kWednesday, 5, true);
    const auto id = *record(*db, kLesson, "李老师", found[0], "病假", kWednesday, "t");

    // Once its Wednesday is past it stays.
    const auto refused = withdraw(*db, id, SchoolDay{15, true, 4});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.refusal().message, "这次调课的第一节课（12月9日第3节）已经上过，不能撤销。");

    ASSERT_TRUE(withdraw(*db, id, kWednesday));
    EXPECT_TRUE(ofTerm(*db).empty());
    EXPECT_EQ(queue::read(*db), (std::vector<QueuedLesson>{{"张老师", 3, "一(1)", 3, "语文"}}));
    EXPECT_FALSE(assignment::loadDay(*db, "张老师", "3", "15")[0].dealtWith);
    // A swap agreed without an absence leaves nothing to wait.
    const auto agreed = *record(*db, kLesson, "李老师", found[0], "", kWednesday, "t");
    queue::clear(*db);
    ASSERT_TRUE(withdraw(*db, agreed, kWednesday));
    EXPECT_TRUE(queue::read(*db).empty());
}

TEST(Swap, AOneWaySwapIsOwedUntilPaidBack) {
    TempStore db;
    school(db);
    const auto id = record(*db, kLesson, "李老师", std::nullopt, "事假", kWednesday, "t");
    ASSERT_TRUE(id);
    // Two days later it is owed, two days old.
    const auto open = owed(*db, calendar::makeDay(2026, 12, 11));
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].age, 2);
    EXPECT_EQ(open[0].when, "12月9日第3节");
    EXPECT_EQ(describe(*db, open[0].swap),
              "12月9日第3节 一(1) 李老师代张老师上语文；张老师日后还课");

    // The return is sought from the working day on: Thursday's lesson is past by Friday.
    const SchoolDay friday{15, true, 5};
    const auto slots = returnSlots(*db, open[0].swap, friday, 5);
    ASSERT_FALSE(slots.empty());
    EXPECT_EQ(slots[0].when, "12月11日第2节");
    ASSERT_TRUE(payBack(*db, *id, slots[0], friday, 5));
    EXPECT_TRUE(owed(*db, calendar::makeDay(2026, 12, 11)).empty());
    EXPECT_EQ(describe(*db, ofTerm(*db)[0]),
              "12月9日第3节 一(1) 李老师代张老师上语文；张老师于12月11日第2节上李老师的数学");
    EXPECT_FALSE(payBack(*db, *id, slots[0], friday, 5));
    EXPECT_FALSE(covers::any(*db, CoverTable::Term));
}

// After any run of covers, swaps and withdrawals on the working day, nobody is in two places in
// a slot, and every lesson is taught by exactly one teacher or still waits.
TEST(SwapProperty, NoTeacherTwiceInASlotAndEveryLessonTaughtOnceOrWaiting) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        TempStore db;
        school(db);
        std::mt19937 rng(seed);
        const auto pick = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
        };
        // 张老师 and 赵老师 are absent on Wednesday.
        for (const auto* absent : {"张老师", "赵老师"}) {
            LessonFilter f;
            f.teacher = absent;
            f.weekday = 3;
            for (const auto& l : timetable::read(*db, f)) queue::add(*db, QueuedLesson::of(l));
        }
        for (int step = 0; step < 12; ++step) {
            const auto waiting = queue::read(*db);
            const int action = static_cast<int>(pick(3));
            if (action == 0 && !waiting.empty()) {
                const auto q = waiting[pick(waiting.size())];
                const auto ranked = ranking::rank(*db, "3", q.period, q.cls, "15").rows;
                if (ranked.empty()) continue;
                assignment::recordCover(*db,
                                        {q.teacher, "病假", ranked[pick(ranked.size())].name, "15",
                                         "3", q.cls, q.subject, q.period},
                                        true);
            } else if (action == 1 && !waiting.empty()) {
                const auto q = waiting[pick(waiting.size())];
                const LessonAt lesson{q.teacher, q.cls, q.subject, {15, 3, q.period}};
                const auto found = candidates(*db, lesson, kWednesday, 5, true);
                if (found.empty()) continue;
                const auto c = found[pick(found.size())];
                ASSERT_TRUE(record(*db, lesson, c.colleague, c, "病假", kWednesday, "t"));
            } else if (action == 2) {
                const auto all = ofTerm(*db);
                if (!all.empty()) {
                    ASSERT_TRUE(withdraw(*db, all[pick(all.size())].id, kWednesday));
                }
            }
        }
        // Every slot of the week and the next.
        for (int wk = 15; wk <= 16; ++wk)
            for (int day = 1; day <= week::kDays; ++day)
                for (int p = 1; p <= week::kPeriods; ++p) {
                    std::vector<std::string> teaching;
                    LessonFilter f;
                    f.weekday = day;
                    f.period = p;
                    for (const auto& l : timetable::read(*db, f)) {
                        int ways = 0;
                        std::string by;
                        for (const auto& t : inSlot(*db, {wk, day, p}))
                            if (t.owner == l.teacher && t.cls == l.cls) ++ways, by = t.taker;
                        CoverFilter c = CoverFilter::of(l);
                        c.week = std::to_string(wk);
                        for (const auto& r : covers::read(*db, CoverTable::Term, c))
                            ++ways, by = r.substitute;
                        if (wk == 15 && day == 3 &&
                            !queue::read(*db, LessonFilter::of(l)).empty()) {
                            ++ways;
                            by.clear();
                        }
                        const bool absentToday = wk == 15 && day == 3 &&
                                                 (l.teacher == "张老师" || l.teacher == "赵老师");
                        if (ways == 0 && !absentToday) ++ways, by = l.teacher;
                        EXPECT_EQ(ways, 1)
                            << l.teacher << " " << l.cls << " " << wk << "/" << day << "/" << p;
                        if (!by.empty()) teaching.push_back(by);
                    }
                    std::sort(teaching.begin(), teaching.end());
                    EXPECT_EQ(std::adjacent_find(teaching.begin(), teaching.end()), teaching.end())
                        << wk << "/" << day << "/" << p;
                }
    }
}

TEST(SwapEntry, TheDaysLessonsShowWhatIsSwappedOrCoveredAndTheDayIsChecked) {
    TempStore db;
    school(db);
    const auto states = [&](const std::string& teacher, const std::string& week,
                            const std::string& weekday) {
        std::vector<std::string> out;
        const auto found = lessonsOfDay(*db, teacher, week, weekday, kWednesday);
        if (!found) return std::vector<std::string>{found.refusal().message};
        for (const auto& d : *found)
            out.push_back(d.lesson.cls + d.lesson.subject + std::to_string(d.lesson.slot.week) +
                          "/" + std::to_string(d.lesson.slot.weekday) + "/" +
                          std::to_string(d.lesson.slot.period) + " " +
                          std::to_string(static_cast<int>(d.state)) + d.by);
        return out;
    };
    EXPECT_EQ(states("李老师", "15", "星期五"), (Lines{"一(1)数学15/5/2 0"}));
    EXPECT_EQ(states(" 李老师", "15", "五"), states("李老师", "15", "5"));
    // An earlier week is allowed (recorded after the fact).
    EXPECT_EQ(states("张老师", "３", "周三"), (Lines{"一(1)语文3/3/3 0"}));

    // Swapped on Wednesday of week 15, covered on Thursday: neither can be swapped again, and
    // the other weeks' lessons stay open.
    const auto fri = candidates(*db, kLesson, kWednesday, 5, true)[1];
    ASSERT_TRUE(record(*db, kLesson, "李老师", fri, "病假", kWednesday, "2026-12-09 08:00"));
    covers::append(*db, CoverTable::Term,
                   {"张老师", "病假", "赵老师", "15", 4, "一(1)", "语文", 2});
    EXPECT_EQ(states("张老师", "15", "3"), (Lines{"一(1)语文15/3/3 1李老师"}));
    EXPECT_EQ(states("张老师", "15", "4"), (Lines{"一(1)语文15/4/2 2赵老师"}));
    EXPECT_EQ(states("张老师", "16", "4"), (Lines{"一(1)语文16/4/2 0"}));
    // The colleague's lesson in the return slot is swapped away from him too.
    EXPECT_EQ(states("李老师", "15", "5"), (Lines{"一(1)数学15/5/2 1张老师"}));

    EXPECT_EQ(states("张老", "15", "3").front().substr(0, 6), "没有");
    EXPECT_EQ(states("张老师", "", "3"), (Lines{"请输入周次（本学期的第几周，例如 15）。"}));
    EXPECT_EQ(states("张老师", "0", "3"), (Lines{"请输入周次（本学期的第几周，例如 15）。"}));
    EXPECT_EQ(states("张老师", "15", "6"),  // not the week
              (Lines{"请输入星期（1 到 5，星期一到星期五）。"}));
    EXPECT_EQ(states("张老师", "15", "星期日"), (Lines{"请输入星期（1 到 5，星期一到星期五）。"}));
    db->exec("DELETE FROM 开学第一天");
    EXPECT_EQ(states("张老师", "15", "3"),
              (Lines{"尚未设定学期首日，无法调课：请先在“学期首日”中设定。"}));
}

}  // namespace
}  // namespace daike::swapping
