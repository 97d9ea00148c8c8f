// 开学准备: what each step reads from the school, in the order an office sets a term up, and
// when the day's cover may begin.
#include "basedata/term_readiness.h"

#include <gtest/gtest.h>

#include "basedata/demo_school.h"
#include "school/resets.h"
#include "test_support.h"

namespace daike {
namespace {

using readiness::State;
using readiness::Step;
using testing::TempStore;

const calendar::Day kToday = calendar::makeDay(2026, 9, 16);

readiness::StepState stepOf(TempStore& db, Step step) {
    for (const auto& s : readiness::check(*db, kToday))
        if (s.step == step) return s;
    ADD_FAILURE() << "no step " << static_cast<int>(step);
    return {step, State::Missing, ""};
}

void teacher(TempStore& db, const char* name) {
    db->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {name});
}

void lesson(TempStore& db, const char* name, int w, int p, const char* cls = "一(1)") {
    db->exec("INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES (?, ?, ?, ?, '语文')",
             {name, w, cls, p});
}

// A small school with every step done: two teachers, two classes of grade one, the
// initialisations run.
void smallSchool(TempStore& db) {
    db->exec("INSERT INTO 开学第一天 VALUES ('2026/8/31')");
    teacher(db, "张三");
    teacher(db, "李四");
    db->exec("INSERT INTO 班级 VALUES ('一(1)'), ('一(2)')");
    db->exec("INSERT INTO 开设课程 (课程, 一年级) VALUES ('语文', '语文')");
    lesson(db, "张三", 1, 1);
    lesson(db, "李四", 1, 2, "一(2)");
    db->exec("UPDATE 教师姓名 SET 班主任 = '一(1)' WHERE 姓名 = '张三'");
    db->exec("UPDATE 教师姓名 SET 班主任 = '一(2)' WHERE 姓名 = '李四'");
    buildFreeTeachers(*db);
    countDailyLessons(*db);
    resetCoverCounts(*db);
}

TEST(TermReadiness, AnEmptySchoolHasEveryStepToDoInOrder) {
    TempStore db;
    const auto steps = readiness::check(*db, kToday);
    ASSERT_EQ(steps.size(), static_cast<std::size_t>(readiness::kSteps));
    for (int i = 0; i < readiness::kSteps; ++i)
        EXPECT_EQ(steps[static_cast<std::size_t>(i)].step, static_cast<Step>(i));
    EXPECT_EQ(steps[0].detail, "学期首日尚未设定");
    EXPECT_EQ(steps[1].detail, "还没有输入教师");
    EXPECT_EQ(steps[6].state, State::Optional);  // no exempt teacher is a normal school
    EXPECT_EQ(steps[9].detail, "代课节数尚未初始化");
    EXPECT_FALSE(readiness::complete(steps));
    EXPECT_EQ(readiness::nextStepLine(steps), "下一步：学期首日设定");
}

TEST(TermReadiness, ASchoolSetUpIsCompleteAndTheDemoSchoolIsToo) {
    TempStore db;
    smallSchool(db);
    const auto steps = readiness::check(*db, kToday);
    for (const auto& s : steps)
        EXPECT_TRUE(s.state == State::Done || s.state == State::Optional)
            << readiness::title(s.step) << ": " << s.detail;
    EXPECT_TRUE(readiness::complete(steps));
    EXPECT_EQ(readiness::nextStepLine(steps), "");
    EXPECT_EQ(steps[0].detail, "开学第一天：2026年8月31日，今天是第3周");

    TempStore demo;
    demo::fillSchool(*demo, demo::demoPlan());
    EXPECT_TRUE(readiness::complete(readiness::check(*demo, kToday)));
}

TEST(TermReadiness, AMissingFirstDayOfTermAloneDoesNotHoldTheDayBack) {
    TempStore db;
    smallSchool(db);
    db->exec("DELETE FROM 开学第一天");
    const auto steps = readiness::check(*db, kToday);
    EXPECT_EQ(steps[0].state, State::Missing);
    EXPECT_TRUE(readiness::complete(steps));
    EXPECT_EQ(readiness::nextStepLine(steps), "下一步：学期首日设定");
}

TEST(TermReadiness, LastTermsFirstDayAndADateNotYetComeAskForALook) {
    TempStore db;
    db->exec("INSERT INTO 开学第一天 VALUES ('2026/2/23')");
    EXPECT_EQ(stepOf(db, Step::TermStart).state, State::ToCheck);
    EXPECT_EQ(stepOf(db, Step::TermStart).detail,
              "开学第一天：2026年2月23日，今天已是第30周；新学期请重新设定");
    db->exec("UPDATE 开学第一天 SET 日期 = '2026/9/21'");
    EXPECT_EQ(stepOf(db, Step::TermStart).detail, "开学第一天：2026年9月21日，还在今天之后");
    db->exec("UPDATE 开学第一天 SET 日期 = '九月一日'");
    EXPECT_EQ(stepOf(db, Step::TermStart).state, State::Missing);
}

TEST(TermReadiness, TeachersWithoutLessonsAndLessonsOfStrangersAreNamed) {
    TempStore db;
    smallSchool(db);
    teacher(db, "王五");
    teacher(db, "赵六");
    teacher(db, "钱七");
    EXPECT_EQ(stepOf(db, Step::Timetable).detail, "任课情况：3 位教师没有课务");
    lesson(db, "孙八", 2, 1);
    EXPECT_EQ(stepOf(db, Step::Timetable).detail,
              "任课情况：3 位教师没有课务，1 节课的教师不在教师名单中");
    EXPECT_EQ(stepOf(db, Step::Timetable).state, State::ToCheck);
}

TEST(TermReadiness, AGradeWithClassesButNoCoursesIsNamed) {
    TempStore db;
    smallSchool(db);
    db->exec("INSERT INTO 班级 VALUES ('三(1)'), ('五(2)')");
    EXPECT_EQ(stepOf(db, Step::Courses).detail, "三年级、五年级没有开设课程");
    db->exec("DELETE FROM 开设课程");
    EXPECT_EQ(stepOf(db, Step::Courses).state, State::Missing);
}

TEST(TermReadiness, InitialisationsOlderThanTheTimetableAskToBeRunAgain) {
    TempStore db;
    smallSchool(db);
    // A lesson added after the initialisations: 张三 is no longer free then, and his Tuesday
    // count is wrong.
    lesson(db, "张三", 2, 3);
    EXPECT_EQ(stepOf(db, Step::FreeTeachers).state, State::ToCheck);
    EXPECT_EQ(stepOf(db, Step::DailyCounts).state, State::ToCheck);
    EXPECT_TRUE(readiness::complete(readiness::check(*db, kToday)));
    buildFreeTeachers(*db);
    countDailyLessons(*db);
    EXPECT_EQ(stepOf(db, Step::FreeTeachers).state, State::Done);
    EXPECT_EQ(stepOf(db, Step::DailyCounts).state, State::Done);
}

TEST(TermReadiness, ANewTeacherWithoutACoverCountIsToldWithoutAdvisingAReset) {
    TempStore db;
    smallSchool(db);
    db->exec("UPDATE 代课节数 SET 学期代课 = 4 WHERE 姓名 = '张三'");
    EXPECT_EQ(stepOf(db, Step::CoverCounts).detail, "本学期已代课4节");
    teacher(db, "王五");
    lesson(db, "王五", 3, 1);
    const auto s = stepOf(db, Step::CoverCounts);
    EXPECT_EQ(s.state, State::ToCheck);
    EXPECT_EQ(s.detail, "1 位教师还没有代课节数（重新初始化会把全部代课节数清零）");
}

TEST(TermReadiness, MainClassesAreAskedAboutButNeverHoldTheDayBack) {
    TempStore db;
    smallSchool(db);
    db->exec("UPDATE 教师姓名 SET 班主任 = NULL");
    EXPECT_EQ(stepOf(db, Step::MainClasses).state, State::ToCheck);
    db->exec("UPDATE 教师姓名 SET 数学 = '一(1),一(2)' WHERE 姓名 = '张三'");
    EXPECT_EQ(stepOf(db, Step::MainClasses).detail, "2 个班没有班主任");
    EXPECT_TRUE(readiness::complete(readiness::check(*db, kToday)));
}

}  // namespace
}  // namespace daike
