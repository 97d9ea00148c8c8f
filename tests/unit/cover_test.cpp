// Recording cover, the suggestion search, the end of a teacher's day, the stale-day check,
// the candidate list's pages, free-period leave and the picker's list.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/assignment.h"
#include "engine/free_period_leave.h"
#include "engine/ranking.h"
#include "engine/teacher_picker.h"
#include "school/names.h"
#include "school/resets.h"
#include "store/store.h"
#include "test_support.h"

using namespace daike;

namespace {

class CoverTest : public ::testing::Test {
  protected:
    Store& db() { return *db_; }
    void sql(const std::string& s) { db().execScript(s); }
    daike::testing::SchoolBuilder school() { return daike::testing::SchoolBuilder(db()); }
    // The rows of a query in SQLite's text form, "a|b;c|d", Null as NULL.
    std::string rows(const std::string& q) { return daike::testing::joinRows(db(), q); }
    assignment::Cover cover(const std::string& substitute, int period = 2,
                            const std::string& cls = "一(1)") {
        return {"张老师", "病假", substitute, "3", "3", cls, "语文", period};
    }

    daike::testing::TempStore db_;
};

const char* kCoverTables[] = {"临时代课记录", "代课记录", "当天代课记录"};

}  // namespace

// --- recording one cover ----------------------------------------------------------------

TEST_F(CoverTest, OneCoverWritesEveryTableOnce) {
    school()
        .tally("赵三", 2, 7)
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .lesson("张老师", 3, "一(2)", 3, "数学")
        .queued("张老师", 3, "一(1)", 2, "语文")
        .build();
    assignment::recordCover(db(), cover("赵三"), false);
    for (const char* t : kCoverTables)
        EXPECT_EQ(rows(std::string("SELECT * FROM ") + t), "张老师|病假|赵三|3|3|一(1)|语文|2")
            << t;
    EXPECT_EQ(rows("SELECT typeof(周次),typeof(星期),typeof(节次) FROM 代课记录"),
              "text|integer|integer");
    EXPECT_EQ(rows("SELECT 当日代课,学期代课 FROM 代课节数"), "3|8");
    EXPECT_EQ(rows("SELECT \"2\" FROM 代课教师"), "赵三");
    // Only the first matching lesson is marked; other lessons keep their marks.
    EXPECT_EQ(rows("SELECT 标记,已代标记 FROM 任课情况"), "1|1;NULL|NULL;NULL|NULL");
    // The one-teacher mode leaves the queue alone.
    EXPECT_EQ(rows("SELECT count(*) FROM 需代课目情况"), "1");
}

TEST_F(CoverTest, SeveralTeachersModeRemovesExactlyTheLessonsQueueRow) {
    school()
        .tally("赵三", 0, 0)
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .queued("甲", 3, "一(1)", 1, "语文")
        .queued("张老师", 3, "一(1)", 2, "语文")
        .queued("乙", 4, "一(1)", 2, "语文")
        .queued("丙", 3, "一(2)", 2, "数学")
        .queued("丁", 3, "一(1)", 2, "语文")
        .build();
    assignment::recordCover(db(), cover("赵三"), true);
    EXPECT_EQ(rows("SELECT 姓名 FROM 需代课目情况"), "甲;乙;丙;丁");
}

TEST_F(CoverTest, SubstituteWithoutTalliesIsRefusedAndNothingIsWritten) {
    school()
        .tally("王一", 0, 0)
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .queued("张老师", 3, "一(1)", 2, "语文")
        .build();
    try {
        assignment::recordCover(db(), cover("赵三"), true);
        FAIL() << "a substitute without a 代课节数 row was recorded";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("赵三"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("代课节数初始化"), std::string::npos);
    }
    for (const char* t : kCoverTables)
        EXPECT_EQ(rows(std::string("SELECT count(*) FROM ") + t), "0") << t;
    EXPECT_EQ(rows("SELECT count(*) FROM 需代课目情况"), "1");
    EXPECT_EQ(rows("SELECT count(*) FROM 代课教师"), "0");
    EXPECT_EQ(rows("SELECT 标记,已代标记 FROM 任课情况"), "NULL|NULL");
    EXPECT_EQ(rows("SELECT 当日代课 FROM 代课节数"), "0");
}

TEST_F(CoverTest, SubstitutesOfAPeriodFillTheFirstFreeCellOfItsColumn) {
    school()
        .tallies({"甲", "乙", "丙", "丁"})
        .lesson("张老师", 3, "一(1)", 1, "语文")
        // held three times, so that three substitutes stand in period 2
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .away({{"1", "外出"}, {"2", nullptr}})
        .away({{"1", "外出2"}, {"2", nullptr}})
        .build();
    assignment::recordCover(db(), cover("甲", 2), false);
    assignment::recordCover(db(), cover("乙", 2), false);
    // Both rows have column "2" taken now: the third goes into a new row.
    assignment::recordCover(db(), cover("丙", 2), false);
    assignment::recordCover(db(), cover("丁", 1), false);
    EXPECT_EQ(rows("SELECT \"1\",\"2\" FROM 代课教师"), "外出|甲;外出2|乙;丁|丙");
}

TEST_F(CoverTest, ACoverOfALessonTheTeacherDoesNotHaveIsRefused) {
    // The weekday was stepped after the day was loaded: Wednesday's class and subject under
    // Thursday, or a subject the teacher does not teach in that class and period.
    school()
        .tally("赵三", 0, 0)
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .lesson("张老师", 4, "一(2)", 2, "数学")
        .build();
    auto thursday = cover("赵三");
    thursday.weekdayText = "4";
    auto otherSubject = cover("赵三");
    otherSubject.subject = "数学";
    auto otherTeacher = cover("赵三");
    otherTeacher.absent = "李二";
    for (const auto& c : {thursday, otherSubject, otherTeacher}) {
        try {
            assignment::recordCover(db(), c, false);
            FAIL() << "a cover of no lesson was recorded";
        } catch (const Failure& e) {
            EXPECT_NE(std::string(e.what()).find("没有记入"), std::string::npos);
        }
    }
    for (const char* t : kCoverTables)
        EXPECT_EQ(rows(std::string("SELECT count(*) FROM ") + t), "0") << t;
    EXPECT_EQ(rows("SELECT count(*) FROM 代课教师"), "0");
    EXPECT_EQ(rows("SELECT 当日代课,学期代课 FROM 代课节数"), "0|0");
    // Every record matches a lesson of the absent teacher on that weekday.
    assignment::recordCover(db(), cover("赵三"), false);
    EXPECT_EQ(rows("SELECT count(*) FROM 当天代课记录 r WHERE NOT EXISTS (SELECT 1 FROM 任课情况 l "
                   "WHERE l.姓名=r.被代 AND l.星期=r.星期 AND l.班级=r.班级 AND l.节次=r.节次 "
                   "AND l.课目=r.课目)"),
              "0");
}

TEST_F(CoverTest, ALessonCoveredAlreadyIsNotCoveredAgain) {
    // A grid shown before the lesson was covered elsewhere still offers it.
    school().tallies({"赵三", "钱四"}).lesson("张老师", 3, "一(1)", 2, "语文").build();
    assignment::recordCover(db(), cover("赵三"), false);
    EXPECT_THROW(assignment::recordCover(db(), cover("钱四"), false), Failure);
    EXPECT_EQ(rows("SELECT 代者 FROM 代课记录"), "赵三");
    EXPECT_EQ(rows("SELECT 当日代课,学期代课 FROM 代课节数 WHERE 姓名='赵三'"), "1|1");
    EXPECT_EQ(rows("SELECT 当日代课,学期代课 FROM 代课节数 WHERE 姓名='钱四'"), "0|0");
}

TEST_F(CoverTest, ALessonCoveredAgainAfterANewDayReplacesItsTermRecord) {
    // 新的一天 by hand in the middle of the day, then the same lesson covered afresh: the term
    // holds the lesson once, under its newest substitute, and the tallies follow the records.
    school()
        .tallies({"赵三", "钱四"})
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .lesson("张老师", 3, "一(1)", 3, "语文")
        .build();
    assignment::recordCover(db(), cover("赵三"), false);
    assignment::recordCover(db(), cover("赵三", 3), false);
    newDay(db());
    assignment::recordCover(db(), cover("钱四"), false);
    EXPECT_EQ(rows("SELECT 代者,节次 FROM 代课记录"), "赵三|3;钱四|2");
    EXPECT_EQ(rows("SELECT 姓名,当日代课,学期代课 FROM 代课节数"), "赵三|0|1;钱四|1|1");
    // The same lesson of another week is another cover and stays.
    newDay(db());
    auto later = cover("赵三");
    later.week = "4";
    assignment::recordCover(db(), later, false);
    EXPECT_EQ(rows("SELECT 代者,周次,节次 FROM 代课记录"), "赵三|3|3;钱四|3|2;赵三|4|2");
}

// Two lessons of one teacher in one period, and two absent teachers with a lesson of one
// class in one period: each lesson is covered on its own, by someone free then, and leaves
// its own queue row.
class TwoLessonsInAPeriod : public CoverTest {
  protected:
    void SetUp() override {
        CoverTest::SetUp();
        school()
            .teachers({"张老师", "李老师", "甲", "乙", "丙", "丁"})
            .lesson("张老师", 3, "一(1)", 2, "语文")
            .lesson("张老师", 3, "一(2)", 2, "数学")
            .lesson("张老师", 3, "一(1)", 4, "语文")
            .lesson("李老师", 3, "一(1)", 2, "语文")
            .lesson("丁", 3, "一(3)", 2, "音乐")
            .build();
        buildFreeTeachers(db());
        countDailyLessons(db());
        resetCoverCounts(db());
    }
    // What the operator does on the grid: click the period, take the first candidate, confirm.
    std::string coverNext(const std::string& teacher, int period, bool several) {
        const auto lesson = assignment::gridOf(assignment::loadDay(
            db(), teacher, "3"))[static_cast<std::size_t>(period - 1)]
                                .open();
        if (!lesson) return {};
        const auto ranked = ranking::rank(db(), "3", period, lesson->cls).rows;
        if (ranked.empty()) return {};
        assignment::recordCover(
            db(), {teacher, "病假", ranked[0].name, "3", "3", lesson->cls, lesson->subject, period},
            several);
        return ranked[0].name;
    }
    void expectWholeDayHolds() {
        EXPECT_EQ(rows("SELECT count(*) FROM 当天代课记录 r WHERE NOT EXISTS (SELECT 1 FROM "
                       "任课情况 l WHERE l.姓名=r.被代 AND l.星期=r.星期 AND l.班级=r.班级 AND "
                       "l.节次=r.节次 AND l.课目=r.课目 AND l.已代标记=1)"),
                  "0");
        EXPECT_EQ(rows("SELECT count(*) FROM 任课情况 WHERE 已代标记=1"),
                  rows("SELECT count(*) FROM 当天代课记录"));
        EXPECT_EQ(rows("SELECT count(*) FROM (SELECT 1 FROM 当天代课记录 GROUP BY 代者,节次 "
                       "HAVING count(*)>1)"),
                  "0");
        EXPECT_EQ(rows("SELECT count(*) FROM 代课节数 n WHERE 当日代课 <> (SELECT count(*) FROM "
                       "当天代课记录 WHERE 代者=n.姓名) OR 学期代课 <> (SELECT count(*) FROM "
                       "代课记录 WHERE 代者=n.姓名)"),
                  "0");
    }
};

TEST_F(TwoLessonsInAPeriod, OneTeacherModeCoversBothLessonsByTwoSubstitutes) {
    const auto first = coverNext("张老师", 2, false);
    ASSERT_FALSE(first.empty());
    auto day = assignment::loadDay(db(), "张老师", "3");
    EXPECT_FALSE(assignment::dayFinished(day));
    // The row now offers the second lesson; the first substitute is booked in that period.
    const auto period2 = assignment::gridOf(day)[1];
    EXPECT_EQ(period2.open()->cls, "一(2)");
    EXPECT_EQ(period2.coveredBy(), first + "/待代");
    const auto second = coverNext("张老师", 2, false);
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(coverNext("张老师", 2, false), "");  // nothing left in the period
    EXPECT_FALSE(assignment::dayFinished(assignment::loadDay(db(), "张老师", "3")));
    ASSERT_FALSE(coverNext("张老师", 4, false).empty());
    EXPECT_TRUE(assignment::dayFinished(assignment::loadDay(db(), "张老师", "3")));
    EXPECT_EQ(rows("SELECT 班级,课目,代者 FROM 当天代课记录 WHERE 节次=2 ORDER BY 班级"),
              "一(1)|语文|" + first + ";一(2)|数学|" + second);
    expectWholeDayHolds();
}

TEST_F(TwoLessonsInAPeriod, EachCoverTakesItsOwnQueueRow) {
    // Both teachers queued: 张老师 with two lessons in period 2, 李老师 with one in 一(1) too.
    school()
        .queued("张老师", 3, "一(1)", 2, "语文")
        .queued("张老师", 3, "一(2)", 2, "数学")
        .queued("李老师", 3, "一(1)", 2, "语文")
        .build();
    ASSERT_FALSE(coverNext("李老师", 2, true).empty());
    EXPECT_EQ(rows("SELECT 姓名,班级 FROM 需代课目情况 ORDER BY 姓名,班级"),
              "张老师|一(1);张老师|一(2)");
    ASSERT_FALSE(coverNext("张老师", 2, true).empty());
    EXPECT_EQ(rows("SELECT 姓名,班级 FROM 需代课目情况"), "张老师|一(2)");
    ASSERT_FALSE(coverNext("张老师", 2, true).empty());
    EXPECT_EQ(rows("SELECT count(*) FROM 需代课目情况"), "0");
    expectWholeDayHolds();
}

TEST_F(TwoLessonsInAPeriod, ALessonEnteredTwiceIsMarkedOnceForEachCover) {
    // The same lesson typed twice into the timetable: the second cover marks the second copy.
    school().lesson("张老师", 3, "一(1)", 4, "语文").build();
    ASSERT_FALSE(coverNext("张老师", 4, false).empty());
    EXPECT_FALSE(assignment::dayFinished(assignment::loadDay(db(), "张老师", "3")));
    ASSERT_FALSE(coverNext("张老师", 4, false).empty());
    EXPECT_EQ(rows("SELECT 标记,已代标记 FROM 任课情况 WHERE 节次=4"), "1|1;1|1");
    expectWholeDayHolds();
}

TEST_F(CoverTest, NamesAreLookedUpAsStored) {
    school()
        .teachers({"王 一", " 李二 ", "李二　", "赵三"})
        .lesson(" 李二 ", 3, "一(1)", 2, "语文")
        .build();
    EXPECT_EQ(names::storedTeacherName(db(), " 李二 "), " 李二 ");
    EXPECT_EQ(names::storedTeacherName(db(), "李二"), " 李二 ");  // the first that fits
    EXPECT_EQ(names::storedTeacherName(db(), "李二　"), "李二　");
    EXPECT_EQ(names::storedTeacherName(db(), " 赵三"), "赵三");
    EXPECT_EQ(names::storedTeacherName(db(), "王一"), "王一");  // blanks inside count
    EXPECT_EQ(names::storedTeacherName(db(), " "), " ");
    EXPECT_EQ(assignment::loadDay(db(), names::storedTeacherName(db(), "李二"), "3").size(), 1u);
}

TEST_F(CoverTest, ACoveredLessonNamesItsSubstitute) {
    school()
        .tally("赵三", 0, 0)
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .lesson("张老师", 3, "一(1)", 3, "语文", 1)
        .build();
    assignment::recordCover(db(), cover("赵三"), false);
    const auto day = assignment::loadDay(db(), "张老师", "3");
    ASSERT_EQ(day.size(), 2u);
    EXPECT_EQ(day[0].coveredBy, "赵三");
    EXPECT_EQ(day[1].coveredBy, "");  // held back, not covered
}

// --- the suggestion search ---------------------------------------------------------------

TEST_F(CoverTest, TaughtClassesKeepsOrderDropsRepeatsAndCollectsMoreThanEight) {
    const std::vector<Value> row{"李二",
                                 "一(1)",
                                 "一(2),一(1),一(3)",
                                 Value(),
                                 "二(1),二(2),二(3),二(4),二(5),",
                                 "一(3),三(1),三(2),三(3,三(10)"};
    // A piece cut short is passed on as it stands; it names no class, so no lesson is found
    // under it.
    EXPECT_EQ(assignment::taughtClasses(row),
              (std::vector<std::string>{"一(1)", "一(2)", "一(3)", "二(1)", "二(2)", "二(3)",
                                        "二(4)", "二(5)", "三(1)", "三(2)", "三(3", "三(10)"}));
    EXPECT_TRUE(
        assignment::taughtClasses({"无", Value(), Value(), Value(), Value(), Value()}).empty());
}

TEST_F(CoverTest, SuggestionsAreQueuedLessonsOfTheSamePeriodInTaughtClasses) {
    school()
        .teacher("李二", {"一(3)", "一(3),一(2)", "一(2)", nullptr, "一(4)"})
        .queued("甲", 3, "一(2)", 2, "语文")
        .queued("乙", 3, "一(3)", 2, "数学")
        .queued("丙", 3, "一(4)", 3, "科学")
        .queued("丁", 4, "一(4)", 2, "科学")
        .queued("戊", 3, "二(1)", 2, "语文")
        .queued("己", 3, "一(2)", 2, "英语")
        .build();
    const auto found = assignment::findSuggestions(db(), "李二", "3", 2);
    ASSERT_EQ(found.size(), 2u);
    // The head-teacher class comes first; each class gives its first queued lesson only.
    EXPECT_EQ(found[0].absent, "乙");
    EXPECT_EQ(found[0].cls, "一(3)");
    EXPECT_EQ(found[0].affinity, "班语");
    EXPECT_EQ(found[0].weekday, "3");
    EXPECT_EQ(found[0].period, "2");
    EXPECT_EQ(found[0].subject, "数学");
    EXPECT_EQ(found[1].absent, "甲");
    EXPECT_EQ(found[1].affinity, "语数");
    EXPECT_TRUE(assignment::findSuggestions(db(), "李二", "3", 5).empty());
    EXPECT_TRUE(assignment::findSuggestions(db(), "不在册", "3", 2).empty());
}

// --- the end of a teacher's day and of the assignment -------------------------------------

TEST_F(CoverTest, DayIsFinishedWhenNoLessonIsLeftToCover) {
    using L = assignment::Lesson;
    EXPECT_TRUE(assignment::dayFinished({}));
    EXPECT_TRUE(assignment::dayFinished(
        {L{2, "一(1)", "语文", true, {}}, L{5, "一(2)", "数学", true, {}}}));
    EXPECT_FALSE(assignment::dayFinished(
        {L{2, "一(1)", "语文", true, {}}, L{5, "一(2)", "数学", false, {}}}));
    // Two lessons in one period: each counts, whichever comes first in the timetable.
    EXPECT_FALSE(assignment::dayFinished(
        {L{2, "一(1)", "语文", false, {}}, L{2, "一(2)", "数学", true, {}}}));
    EXPECT_FALSE(assignment::dayFinished(
        {L{2, "一(1)", "语文", true, {}}, L{2, "一(2)", "数学", false, {}}}));
    EXPECT_TRUE(assignment::dayFinished(
        {L{2, "一(1)", "语文", true, {}}, L{2, "一(2)", "数学", true, {}}}));
    // A lesson outside periods 1 to 6 has no row to cover it from: it cannot hold the day open.
    EXPECT_TRUE(assignment::dayFinished({L{7, "一(5)", "音乐", false, {}}}));
}

TEST(AssignmentDay, GridKeepsEveryLessonOfAPeriodAndNothingOutsideTheDay) {
    using L = assignment::Lesson;
    const auto grid = assignment::gridOf(
        {L{0, "一(3)", "美术", false}, L{2, "一(1)", "语文", false}, L{2, "一(2)", "数学", true},
         L{6, "一(4)", "科学", false}, L{7, "一(5)", "音乐", false}});
    EXPECT_TRUE(grid[0].free());
    ASSERT_EQ(grid[1].lessons.size(), 2u);
    EXPECT_EQ(grid[1].classes(), "一(1)/一(2)");
    EXPECT_EQ(grid[1].subjects(), "语文/数学");
    // The first lesson is open, the second held back: the period is not dealt with yet.
    EXPECT_FALSE(grid[1].dealtWith());
    ASSERT_TRUE(grid[1].open());
    EXPECT_EQ(grid[1].open()->cls, "一(1)");
    EXPECT_EQ(grid[5].classes(), "一(4)");
    EXPECT_EQ(grid[5].subjects(), "科学");
    EXPECT_EQ(std::count_if(grid.begin(), grid.end(), [](const auto& p) { return !p.free(); }), 2);
}

TEST(AssignmentDay, APeriodOfTwoLessonsIsCoveredOneAtATime) {
    using L = assignment::Lesson;
    assignment::PeriodLessons p{{L{3, "一(1)", "语文", false}, L{3, "一(2)", "语文", false}}};
    EXPECT_EQ(p.subjects(), "语文");  // the same subject is named once
    EXPECT_EQ(p.coveredBy(), "");
    EXPECT_EQ(p.open()->cls, "一(1)");
    // The suggestion panel may ask for the second lesson by name.
    EXPECT_EQ(p.open("一(2)", "语文")->cls, "一(2)");
    EXPECT_FALSE(p.open("一(2)", "数学"));

    p.lessons[0].dealtWith = true;
    p.lessons[0].coveredBy = "赵三";
    EXPECT_EQ(p.open()->cls, "一(2)");
    EXPECT_FALSE(p.open("一(1)", "语文"));
    EXPECT_FALSE(p.dealtWith());
    EXPECT_EQ(p.coveredBy(), "赵三/待代");

    p.lessons[1].dealtWith = true;  // held back by the absence entry
    EXPECT_FALSE(p.open());
    EXPECT_TRUE(p.dealtWith());
    EXPECT_EQ(p.coveredBy(), "赵三/—");

    // One lesson: the substitute's name alone, as before.
    assignment::PeriodLessons one{{L{1, "一(1)", "语文", true, "李四"}}};
    EXPECT_EQ(one.coveredBy(), "李四");
    EXPECT_EQ(one.classes(), "一(1)");
}

TEST(AssignmentDay, ExitHandsOnLessonPeriodsAndTheCoveredAmongThem) {
    using L = assignment::Lesson;
    // Period 1 covered, 3 still open, 4 a lesson of the timetable without a class (held back),
    // period 5 has one of its two lessons covered: still open; period 6 has both covered.
    const auto day = assignment::dayAtExit(
        {L{1, "一(1)", "语文", true}, L{3, "一(2)", "数学", false}, L{4, "", "班会", true},
         L{5, "一(3)", "科学", true}, L{5, "一(4)", "科学", false}, L{6, "一(3)", "语文", true},
         L{6, "一(4)", "语文", true}});
    EXPECT_EQ(day.lesson, (std::array<bool, 6>{true, false, true, true, true, true}));
    EXPECT_EQ(day.covered, (std::array<bool, 6>{true, false, false, false, false, true}));
    // No lesson that day: every period is free.
    const auto none = assignment::dayAtExit({});
    EXPECT_EQ(none.lesson, (std::array<bool, 6>{}));
    EXPECT_EQ(none.covered, (std::array<bool, 6>{}));
}

TEST(AssignmentDay, WeekdayButtonsGoRoundWithinTheSchoolWeek) {
    EXPECT_EQ(assignment::stepWeekday(3, 1), 4);
    EXPECT_EQ(assignment::stepWeekday(3, -1), 2);
    EXPECT_EQ(assignment::stepWeekday(5, 1), 1);
    EXPECT_EQ(assignment::stepWeekday(1, -1), 5);
    // A weekend day (or none) shown at start: on is Monday, back is Friday.
    for (int outside : {0, 6, 7}) {
        EXPECT_EQ(assignment::stepWeekday(outside, 1), 1) << outside;
        EXPECT_EQ(assignment::stepWeekday(outside, -1), 5) << outside;
    }
    // Five steps either way come back to the same day.
    for (int d = 1; d <= 5; ++d) {
        int on = d, back = d;
        for (int k = 0; k < 5; ++k) {
            on = assignment::stepWeekday(on, 1);
            back = assignment::stepWeekday(back, -1);
        }
        EXPECT_EQ(on, d);
        EXPECT_EQ(back, d);
    }
}

TEST(AssignmentDay, OnlyACandidateWithoutTiesToTheClassTriggersTheSearch) {
    EXPECT_TRUE(assignment::searchesForBetterLessons(""));
    EXPECT_FALSE(assignment::searchesForBetterLessons("班"));
    EXPECT_FALSE(assignment::searchesForBetterLessons("语数"));
}

TEST_F(CoverTest, LoadDayReadsTheWeekdaysLessonsByPeriod) {
    school()
        .lesson("张老师", 3, "一(2)", 5, "数学", 1, 1)
        .lesson("张老师", 3, "一(1)", 2, "语文")
        .lesson("张老师", 4, "一(1)", 1, "语文")
        .lesson("李二", 3, "一(3)", 1, "语文")
        .build();
    const auto day = assignment::loadDay(db(), "张老师", "3");
    ASSERT_EQ(day.size(), 2u);
    EXPECT_EQ(day[0].period, 2);
    EXPECT_FALSE(day[0].dealtWith);
    EXPECT_EQ(day[1].cls, "一(2)");
    EXPECT_TRUE(day[1].dealtWith);
    EXPECT_TRUE(assignment::loadDay(db(), "张老师", "5").empty());
}

TEST_F(CoverTest, ExitReleasesOnlyLessonsHeldBackWithoutCover) {
    school()
        .lesson("甲", 3, "一(1)", 1, "语文", 1)
        .lesson("甲", 3, "一(1)", 2, "语文", 1, 1)
        .lesson("乙", 4, "一(2)", 1, "数学", 1)
        .lesson("乙", 4, "一(2)", 2, "数学")
        .build();
    assignment::releaseHeldBack(db());
    EXPECT_EQ(rows("SELECT 标记,已代标记 FROM 任课情况"), "NULL|NULL;1|1;NULL|NULL;NULL|NULL");
}

// --- pages of the candidate list ---------------------------------------------------------

TEST(CandidatePages, ThirtyThreeRowsMakeTwoPages) {
    auto p = assignment::pageAt(33, 0);
    EXPECT_EQ(p.count, 32);
    EXPECT_TRUE(p.next);
    EXPECT_FALSE(p.previous);
    p = assignment::pageAt(33, 32);
    EXPECT_EQ(p.first, 32);
    EXPECT_EQ(p.count, 1);
    EXPECT_FALSE(p.next);
    EXPECT_TRUE(p.previous);
}

TEST(CandidatePages, ExactlyFullLastPageOffersNoEmptyPage) {
    const auto p = assignment::pageAt(64, 32);
    EXPECT_EQ(p.count, 32);
    EXPECT_FALSE(p.next);
    EXPECT_FALSE(assignment::pageAt(32, 0).next);
}

TEST(CandidatePages, OffsetBeyondTheRowsFallsBackToTheFirstPage) {
    auto p = assignment::pageAt(3, 32);
    EXPECT_EQ(p.first, 0);
    EXPECT_EQ(p.count, 3);
    EXPECT_FALSE(p.previous);
    p = assignment::pageAt(0, 64);
    EXPECT_EQ(p.first, 0);
    EXPECT_EQ(p.count, 0);
}

// --- free-period leave ---------------------------------------------------------------------

TEST_F(CoverTest, LeaveRecordsLessonPeriodsPlainAndTickedFreePeriodsFlagged) {
    leave::Periods lessons{}, free{};
    lessons[1] = lessons[4] = true;
    free[2] = true;
    leave::recordDay(db(), "张老师", lessons, free);
    EXPECT_EQ(rows("SELECT \"2\",\"22\",\"3\",\"33\",\"5\",\"55\" FROM 代课教师"),
              "张老师|NULL|张老师|1|张老师|NULL");
    // A second teacher away in free period 3 takes the second row with its own flag.
    leave::Periods none{}, third{};
    third[2] = true;
    leave::recordDay(db(), "李二", none, third);
    EXPECT_EQ(rows("SELECT \"3\",\"33\" FROM 代课教师"), "张老师|1;李二|1");
    EXPECT_EQ(leave::recordedFreePeriods(db(), "李二"), third);
    EXPECT_EQ(leave::recordedFreePeriods(db(), "张老师"), free);
}

TEST_F(CoverTest, LeaveRecordedAgainKeepsOneEntryAPeriod) {
    leave::Periods lessons{}, free{};
    lessons[1] = true;
    free[2] = true;
    leave::recordDay(db(), "张老师", lessons, free);
    leave::recordDay(db(), "张老师", lessons, free);  // the correction window closed once more
    EXPECT_EQ(rows("SELECT count(*) FROM 代课教师 WHERE \"2\"='张老师'"), "1");
    EXPECT_EQ(rows("SELECT count(*) FROM 代课教师 WHERE \"3\"='张老师'"), "1");
    leave::withdraw(db(), "张老师", free);
    EXPECT_EQ(leave::recordedFreePeriods(db(), "张老师"), leave::Periods{});
}

TEST_F(CoverTest, LeaveWithoutATeacherRecordsNothing) {
    leave::Periods all;
    all.fill(true);
    leave::recordDay(db(), "", all, all);
    EXPECT_EQ(rows("SELECT count(*) FROM 代课教师"), "0");
}

TEST_F(CoverTest, WithdrawingMovesLaterEntriesAndFlagsUp) {
    school()
        .away({{"3", "王一"}, {"33", nullptr}, {"4", "x"}})
        .away({{"3", "张老师"}, {"33", "1"}, {"4", "y"}})
        .away({{"3", "李二"}, {"33", "1"}, {"4", nullptr}})
        .away({{"3", "赵三"}, {"33", nullptr}, {"4", nullptr}})
        .build();
    leave::Periods p{};
    p[2] = true;
    leave::withdraw(db(), "张老师", p);
    EXPECT_EQ(rows("SELECT \"3\",\"33\",\"4\" FROM 代课教师"),
              "王一|NULL|x;李二|1|y;赵三|NULL|NULL;NULL|NULL|NULL");
    std::vector<std::string> list{"甲", "张老师", "乙"};
    leave::dropFromList(list, "张老师");
    EXPECT_EQ(list, (std::vector<std::string>{"甲", "乙"}));
    leave::dropFromList(list, "无名");
    EXPECT_EQ(list.size(), 2u);
}

// --- the picker's list -------------------------------------------------------------------

TEST_F(CoverTest, PickerListsNamesInPinyinOrderAndGrowsBeyondFiftyFour) {
    school().teachers({"张三", "王一", "李二", "艾老师"}).build();
    EXPECT_EQ(picker::teacherNames(db()),
              (std::vector<std::string>{"艾老师", "李二", "王一", "张三"}));
    EXPECT_EQ(picker::placesFor(4), 54);
    EXPECT_EQ(picker::placesFor(54), 54);
    EXPECT_EQ(picker::placesFor(55), 60);
    EXPECT_EQ(picker::placesFor(64), 66);
}
