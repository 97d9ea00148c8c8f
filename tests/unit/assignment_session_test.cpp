// The assignment screen's session on a real school day: what it offers after the day's
// absences were entered (again), what a cover writes and what Cancel leaves alone, the end of
// a teacher's day, and what a move of the working day or a close does to the loaded day.
#include "engine/assignment_session.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "basedata/demo_school.h"
#include "engine/absence_entry.h"
#include "school/cover_rules.h"
#include "school/working_day.h"
#include "store/changes.h"
#include "store/text.h"
#include "test_support.h"

namespace daike {
namespace {

using assignment::GridState;
using assignment::Mode;
using assignment::Next;

constexpr int kWednesday = 3;

// Answers the session's questions from a script (yes/OK once the script is used up) and keeps
// what it was told.
struct ScriptedOperator : assignment::Operator {
    std::deque<bool> answers;
    std::vector<std::string> told;
    std::vector<std::string> asked;

    void tell(const std::string& text) override { told.push_back(text); }
    bool yesNo(const std::string& text) override { return answer(text); }
    bool okCancel(const std::string& text) override { return answer(text); }
    void point(assignment::Spot) override {}
    bool answer(const std::string& text) {
        asked.push_back(text);
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
};

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        demo::fillSchool(*db, demo::demoPlan());
        day.startUp(*db, calendar::makeDay(2026, 9, 16));  // Wednesday of week 3
        absent = db.one(
            "SELECT 姓名 FROM 任课情况 WHERE 星期=3 GROUP BY 姓名 HAVING count(*)>=3 "
            "ORDER BY 姓名 LIMIT 1");
        ASSERT_FALSE(absent.empty());
    }
    // Enters the teacher as away in the first `periods` lessons of his Wednesday; the rest are
    // held back.
    void enter(int periods) {
        auto sheet = absence::DaySheet::load(*db, absent, kWednesday);
        using absence::RowState;
        for (int r = 0, lessons = 0; r < week::kPeriods; ++r) {
            const auto state = sheet.row(r).state();
            if (state != RowState::OpenSelected && state != RowState::OpenNotSelected) continue;
            const bool wanted = lessons++ < periods;
            if (wanted != (state == RowState::OpenSelected)) sheet.toggle(r);
        }
        absence::storeTeacher(*db, absent, kWednesday, sheet);
    }
    std::vector<int> offeredPeriods(const assignment::Session& s) const {
        std::vector<int> out;
        for (int r = 0; r < week::kPeriods; ++r)
            if (s.period(r).option && !s.period(r).classes.empty()) out.push_back(r);
        return out;
    }
    int lessonsOfTheDay() {
        return std::stoi(
            db.one("SELECT count(*) FROM 任课情况 WHERE 星期=3 AND 姓名='" + absent + "'"));
    }
    // Covers the first lesson offered by the first candidate; returns what follows.
    Next coverFirstOffered(assignment::Session& s) {
        const auto offered = offeredPeriods(s);
        EXPECT_FALSE(offered.empty());
        s.clickPeriod(offered.front());
        s.clickCandidate(0);
        return s.confirm();
    }

    testing::Db db;
    ChangeNotifier changes;
    WorkingDay day{changes};
    ScriptedOperator op;
    std::string absent;
};

TEST_F(SessionTest, ATeacherEnteredAgainHasEveryTickedLessonOffered) {
    enter(1);
    enter(lessonsOfTheDay());
    assignment::Session s(*db, day, op, Mode::SeveralTeachers);
    s.startSeveralTeachers();
    ASSERT_EQ(s.absentList(), std::vector<std::string>{absent});
    s.nameTyped(absent);
    s.reasonTyped("病假");
    s.load();
    EXPECT_EQ(s.grid(), GridState::Shown);
    EXPECT_EQ(static_cast<int>(offeredPeriods(s).size()), lessonsOfTheDay());
}

TEST_F(SessionTest, CoveringTheWholeDayRecordsEachLessonOnceAndAsksToLeaveLast) {
    enter(lessonsOfTheDay());
    assignment::Session s(*db, day, op, Mode::SeveralTeachers);
    s.startSeveralTeachers();
    s.nameTyped(absent);
    s.reasonTyped("事假");
    s.load();
    Next next = Next::Stay;
    for (int i = 0; i < lessonsOfTheDay(); ++i) {
        // A candidate who suits another lesson better shows suggestions first; this day has
        // one absent teacher, so there are none.
        next = coverFirstOffered(s);
        EXPECT_FALSE(s.suggestionsShown());
    }
    EXPECT_EQ(next, Next::Leave);
    EXPECT_EQ(op.asked.back(), "教师代课已完成，是否确定<退出> ");
    EXPECT_TRUE(s.absentList().empty());
    EXPECT_EQ(db.one("SELECT count(*) FROM 当天代课记录 WHERE 性质='事假'"),
              std::to_string(lessonsOfTheDay()));
    EXPECT_EQ(db.one("SELECT count(*) FROM (SELECT DISTINCT 代者,节次 FROM 当天代课记录)"),
              std::to_string(lessonsOfTheDay()));
    EXPECT_EQ(db.one("SELECT count(*) FROM 需代课目情况"), "0");
    EXPECT_EQ(db.one("SELECT sum(当日代课) FROM 代课节数"), std::to_string(lessonsOfTheDay()));
}

TEST_F(SessionTest, CancelAndIncompleteEntriesWriteNothing) {
    assignment::Session s(*db, day, op, Mode::OneTeacher);
    // A period clicked before any teacher's day is loaded offers nobody: a cover then would
    // name no absent teacher.
    s.clickPeriod(1);
    EXPECT_FALSE(s.period(1).option);
    EXPECT_EQ(s.selectedPeriod(), -1);
    EXPECT_TRUE(s.ranked().empty());
    // No reason yet: the operator is told, nothing is loaded.
    s.nameTyped(" " + absent + " ");
    s.load();
    EXPECT_EQ(op.told.back(), "您还内容没有填写完整,请确认！");
    EXPECT_EQ(s.grid(), GridState::Blank);
    // The reason declined empties it.
    s.reasonTyped("病假");
    op.answers = {false};
    s.load();
    EXPECT_TRUE(s.reason().empty());
    EXPECT_EQ(s.grid(), GridState::Blank);
    // The name is matched blanks and all; a cover cancelled writes nothing.
    s.reasonTyped("病假");
    s.load();
    ASSERT_EQ(s.grid(), GridState::Shown);
    op.answers = {false};
    EXPECT_EQ(coverFirstOffered(s), Next::Stay);
    EXPECT_EQ(db.one("SELECT count(*) FROM 代课记录"), "0");
    EXPECT_EQ(db.one("SELECT sum(学期代课) FROM 代课节数"), "0");
    // An empty row names nobody and confirms nothing.
    s.clickPeriod(offeredPeriods(s).front());
    s.clickCandidate(assignment::kPageRows - 1);
    if (!s.candidateAt(assignment::kPageRows - 1)) {
        EXPECT_EQ(s.selectedRow(), -1);
        EXPECT_EQ(s.confirm(), Next::Stay);
    }
    EXPECT_EQ(db.one("SELECT count(*) FROM 代课记录"), "0");
}

TEST_F(SessionTest, AMoveOfTheWorkingDayPutsTheLoadedDayAway) {
    assignment::Session s(*db, day, op, Mode::OneTeacher);
    s.nameTyped(absent);
    s.reasonTyped("病假");
    s.load();
    s.clickPeriod(offeredPeriods(s).front());
    s.clickCandidate(0);
    ASSERT_GE(s.selectedRow(), 0);
    day.moveTo(*db, day.stepped(1));
    s.workingDayMoved();
    // Wednesday's lesson may not be covered under Thursday.
    EXPECT_EQ(s.grid(), GridState::NoLessons);
    EXPECT_EQ(s.selectedRow(), -1);
    EXPECT_EQ(s.confirm(), Next::Stay);
    EXPECT_EQ(db.one("SELECT count(*) FROM 代课记录"), "0");
}

TEST_F(SessionTest, ClosingTheScreenReleasesTheLessonsHeldBack) {
    enter(1);
    ASSERT_NE(db.one("SELECT count(*) FROM 任课情况 WHERE 标记=1"), "0");
    {
        assignment::Session s(*db, day, op, Mode::SeveralTeachers);
        s.startSeveralTeachers();
        s.closed();
    }
    EXPECT_EQ(db.one("SELECT count(*) FROM 任课情况 WHERE 标记=1"), "0");
    // The lesson still queued waits as before.
    EXPECT_EQ(db.one("SELECT count(*) FROM 需代课目情况"), "1");
}

TEST_F(SessionTest, OneTeacherModeKeepsNoListAndHandsHisDayToTheExitStep) {
    enter(lessonsOfTheDay());
    assignment::Session s(*db, day, op, Mode::SeveralTeachers);
    s.startSeveralTeachers();
    EXPECT_FALSE(s.absentList().empty());
    s.setMode(Mode::OneTeacher);
    EXPECT_TRUE(s.absentList().empty());
    s.nameTyped(absent);
    s.reasonTyped("病假");
    s.load();
    coverFirstOffered(s);
    const auto leave = s.exitStep();
    ASSERT_TRUE(leave);
    EXPECT_EQ(leave->teacher, absent);
    int covered = 0;
    for (bool c : leave->day.covered) covered += c;
    EXPECT_EQ(covered, 1);
}

// A mistyped name is told as no teacher's, with the teacher meant, before the reason is asked;
// the day shown stays and nothing is written. A real teacher without lessons is told so.
TEST_F(SessionTest, AMistypedNameIsToldAsNoTeachersAndLoadsNothing) {
    enter(lessonsOfTheDay());
    assignment::Session s(*db, day, op, Mode::OneTeacher);
    s.nameTyped(absent);
    s.reasonTyped("病假");
    s.load();
    ASSERT_EQ(s.grid(), GridState::Shown);
    const auto lessons = s.lessons();
    const std::string queued = db.one("SELECT count(*) FROM 需代课目情况");

    auto typo = text::characters(absent);
    typo.back() = "燚";
    std::string mistyped;
    for (const auto& c : typo) mistyped += c;
    op.told.clear();
    op.asked.clear();
    s.nameTyped(mistyped);
    s.reasonTyped("事假");
    s.load();
    ASSERT_EQ(op.told.size(), 1u);
    EXPECT_TRUE(op.told[0].starts_with("没有名为“" + mistyped + "”的教师。是不是："));
    EXPECT_NE(op.told[0].find(absent), std::string::npos);
    EXPECT_TRUE(op.asked.empty());
    EXPECT_EQ(s.grid(), GridState::Shown);
    EXPECT_EQ(s.lessons().size(), lessons.size());
    EXPECT_EQ(db.one("SELECT count(*) FROM 需代课目情况"), queued);
    EXPECT_EQ(db.one("SELECT count(*) FROM 当天代课记录"), "0");

    db->execScript("INSERT INTO 教师姓名 (姓名) VALUES ('无课老师')");
    op.told.clear();
    s.nameTyped("无课老师 ");
    s.load();
    EXPECT_EQ(op.told, std::vector<std::string>{"该教师本日无课务安排！"});
    EXPECT_EQ(s.grid(), GridState::NoLessons);
}

// Under a limit a day, the teacher who reached it comes last and grey; giving him the lesson by
// hand asks once and records only on yes.
TEST_F(SessionTest, ACandidateAtTheDaysLimitComesLastAndIsAskedForOnce) {
    enter(lessonsOfTheDay());
    assignment::Session s(*db, day, op, Mode::SeveralTeachers);
    s.startSeveralTeachers();
    s.nameTyped(absent);
    s.reasonTyped("病假");
    s.load();
    const int period = offeredPeriods(s).front();
    s.clickPeriod(period);
    ASSERT_GE(s.ranked().size(), 2u);
    const std::string first = s.ranked().front().name;
    EXPECT_EQ(s.highlight(0) == assignment::Highlight::Limited, false);

    // The first candidate has covered once today already; the school allows one a day.
    db->exec("UPDATE 代课节数 SET 当日代课=1, 学期代课=1 WHERE 姓名=?", {Value(first)});
    rules::CoverRules oneADay;
    oneADay.perDay = 1;
    ASSERT_TRUE(rules::save(*db, oneADay));
    s.clickPeriod(period);
    const auto& ranked = s.ranked();
    EXPECT_NE(ranked.front().name, first);
    const int last = static_cast<int>(ranked.size()) - 1;
    ASSERT_LT(last, assignment::kPageRows);
    EXPECT_EQ(ranked.back().name, first);
    EXPECT_EQ(s.highlight(last), assignment::Highlight::Limited);
    EXPECT_EQ(s.standingAt(last)->limit, coverload::Limit::Day);

    s.clickCandidate(last);
    op.asked.clear();
    op.answers = {false};
    EXPECT_EQ(s.confirm(), Next::Stay);
    EXPECT_EQ(op.asked, std::vector<std::string>{"已代1节，超过每日上限，仍然安排？"});
    EXPECT_EQ(db.one("SELECT count(*) FROM 当天代课记录"), "0");

    op.asked.clear();
    op.answers = {true, true};
    s.confirm();
    ASSERT_EQ(op.asked.size(), 2u);
    EXPECT_EQ(op.asked[0], "已代1节，超过每日上限，仍然安排？");
    EXPECT_EQ(db.one("SELECT 代者 FROM 当天代课记录"), first);
}

}  // namespace
}  // namespace daike
