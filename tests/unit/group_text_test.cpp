#include "engine/group_text.h"

#include <gtest/gtest.h>

#include "engine/day_board.h"
#include "school/term_start.h"
#include "school/working_day.h"
#include "store/tables/period_times.h"
#include "test_support.h"

namespace daike {
namespace {

using grouptext::Form;
using testing::Db;

CoverRecord cover(std::string substitute, int period, std::string cls, std::string subject,
                  std::string absent, std::string week = "15") {
    return {std::move(absent),  "病假", std::move(substitute), std::move(week), 3, std::move(cls),
            std::move(subject), period};
}

const grouptext::Day kDay{calendar::makeDay(2026, 12, 9), 15, 3};

PeriodTimes noTimes() {
    return {};
}

TEST(GroupText, TheDayAsTheGroupReadsIt) {
    EXPECT_EQ(grouptext::dayText(kDay), "12月9日（周三）");
    // Without the first day of term: the week and weekday, or the weekday alone.
    EXPECT_EQ(grouptext::dayText({std::nullopt, 3, 3}), "第3周周三");
    EXPECT_EQ(grouptext::dayText({std::nullopt, 0, 5}), "周五");
}

TEST(GroupText, NamesFirstEachSubstituteOnceHisLessonsInPeriodOrder) {
    // Recorded out of order: 赵晶超's fourth period before his first, 王芳 in between.
    const std::vector<CoverRecord> day = {
        cover("赵晶超", 4, "四(1)", "数学", "李明"),
        cover("王芳", 2, "一(3)", "科学", "程静"),
        cover("赵晶超", 1, "三(2)", "语文", "程静"),
    };
    EXPECT_EQ(grouptext::wholeDay(day, Form::ByTeacher, kDay, noTimes()),
              "【代课】12月9日（周三）赵晶超：第1节 三(2)语文（程静）、第4节 四(1)数学（李明）\n"
              "【代课】12月9日（周三）王芳：第2节 一(3)科学（程静）");
    EXPECT_EQ(grouptext::wholeDay({}, Form::ByTeacher, kDay, noTimes()), "");
}

TEST(GroupText, TheLessonsCarryTheirClockTimesWhenSet) {
    week::PerPeriod<periodtimes::StoredTimes> stored{};
    stored[0] = {"8:00", "8:40"};
    const auto times = periodTimesOf(stored);
    const std::vector<CoverRecord> day = {cover("赵晶超", 1, "三(2)", "语文", "程静"),
                                          cover("赵晶超", 2, "三(1)", "语文", "程静")};
    EXPECT_EQ(grouptext::wholeDay(day, Form::ByTeacher, kDay, times),
              "【代课】12月9日（周三）赵晶超：第1节（8:00–8:40） 三(2)语文（程静）、第2节 "
              "三(1)语文（程静）");
    EXPECT_EQ(grouptext::wholeDay(day, Form::ByClass, kDay, times),
              "【代课】12月9日（周三）三(1)班：第2节 语文 赵晶超代（程静）\n"
              "【代课】12月9日（周三）三(2)班：第1节（8:00–8:40） 语文 赵晶超代（程静）");
}

TEST(GroupText, ByClassForTheHeadTeachersClassesByGradeAndNumber) {
    const std::vector<CoverRecord> day = {
        cover("王芳", 5, "三(10)", "数学", "李明"), cover("赵晶超", 3, "三(2)", "语文", "程静"),
        cover("孙丽", 1, "三(2)", "英语", "周伟"), cover("王芳", 2, "一(1)", "科学", "程静"),
        cover("赵晶超", 6, "兴趣班", "美术", "程静")};
    EXPECT_EQ(
        grouptext::wholeDay(day, Form::ByClass, kDay, noTimes()),
        "【代课】12月9日（周三）一(1)班：第2节 科学 王芳代（程静）\n"
        "【代课】12月9日（周三）三(2)班：第1节 英语 孙丽代（周伟）、第3节 语文 赵晶超代（程静）\n"
        "【代课】12月9日（周三）三(10)班：第5节 数学 王芳代（李明）\n"
        "【代课】12月9日（周三）兴趣班：第6节 美术 赵晶超代（程静）");
}

TEST(GroupText, OnlyTheChangesNewSubstitutesAndThoseNoLongerNeeded) {
    const std::vector<CoverRecord> added = {cover("李明", 4, "三(2)", "数学", "程静"),
                                            cover("李明", 1, "四(1)", "语文", "周伟")};
    const std::vector<CoverRecord> withdrawn = {cover("赵晶超", 4, "三(2)", "数学", "程静")};
    EXPECT_EQ(grouptext::changesOnly(added, withdrawn, Form::ByTeacher, kDay, noTimes()),
              "【代课变更】12月9日（周三）\n"
              "李明：第1节 四(1)语文（周伟）、第4节 三(2)数学（程静）\n"
              "赵晶超：第4节 三(2)数学 不用代了");
    EXPECT_EQ(grouptext::changesOnly(added, withdrawn, Form::ByClass, kDay, noTimes()),
              "【代课变更】12月9日（周三）\n"
              "三(2)班：第4节 数学 李明代（程静）\n"
              "四(1)班：第1节 语文 李明代（周伟）\n"
              "三(2)班：第4节 数学 赵晶超不用代了");
    EXPECT_EQ(grouptext::changesOnly({}, {}, Form::ByTeacher, kDay, noTimes()), "");
}

TEST(GroupText, TheWorkingDayFromTheStoreInChineseOrderWithChangesAfterTelling) {
    Db db;
    storeTermStart(*db, "2026/8/31");
    testing::SchoolBuilder(*db)
        .teacher("赵晶超")
        .teacher("王芳")
        .teacher("李明")
        .teacher("程静")
        .build();
    // A record of another day (not yet cleared) is not the day's cover.
    covers::appendEverywhere(*db, cover("王芳", 2, "一(1)", "科学", "程静", "14"));
    covers::appendEverywhere(*db, cover("赵晶超", 1, "三(2)", "语文", "程静"));
    covers::appendEverywhere(*db, cover("王芳", 4, "四(1)", "数学", "程静"));
    covers::appendEverywhere(*db, cover("外校", 5, "四(1)", "英语", "程静"));
    const SchoolDay day{15, true, 3};

    auto t = grouptext::read(*db, day);
    EXPECT_EQ(t.day.date, calendar::makeDay(2026, 12, 9));
    EXPECT_FALSE(t.offersChanges());
    EXPECT_TRUE(t.untold());
    // 王芳 (wáng) before 赵晶超 (zhào); a name the school does not list comes last.
    EXPECT_EQ(t.text(Form::ByTeacher, true),
              "【代课】12月9日（周三）王芳：第4节 四(1)数学（程静）\n"
              "【代课】12月9日（周三）赵晶超：第1节 三(2)语文（程静）\n"
              "【代课】12月9日（周三）外校：第5节 四(1)英语（程静）");

    telling::markTold(*db);
    t = grouptext::read(*db, day);
    EXPECT_FALSE(t.untold());
    EXPECT_FALSE(t.offersChanges());
    EXPECT_FALSE(t.empty());

    // 王芳's lesson goes to 李明.
    ASSERT_TRUE(
        covers::removeOne(*db, CoverTable::Today, cover("王芳", 4, "四(1)", "数学", "程静")));
    covers::append(*db, CoverTable::Today, cover("李明", 4, "四(1)", "数学", "程静"));
    t = grouptext::read(*db, day);
    EXPECT_TRUE(t.untold());
    ASSERT_TRUE(t.offersChanges());
    EXPECT_EQ(t.text(Form::ByTeacher, true),
              "【代课变更】12月9日（周三）\n"
              "李明：第4节 四(1)数学（程静）\n"
              "王芳：第4节 四(1)数学 不用代了");
    // The whole day again on request.
    EXPECT_EQ(t.text(Form::ByTeacher, false),
              "【代课】12月9日（周三）李明：第4节 四(1)数学（程静）\n"
              "【代课】12月9日（周三）赵晶超：第1节 三(2)语文（程静）\n"
              "【代课】12月9日（周三）外校：第5节 四(1)英语（程静）");

    // Every cover withdrawn after telling: still something to tell.
    covers::clear(*db, CoverTable::Today);
    t = grouptext::read(*db, day);
    EXPECT_FALSE(t.empty());
    EXPECT_TRUE(t.offersChanges());
    EXPECT_EQ(t.text(Form::ByTeacher, false), "");
}

TEST(DayBoard, CoversChangedAfterTellingAreMarkedAndTheWithdrawnListed) {
    Db db;
    covers::appendEverywhere(*db, cover("赵晶超", 1, "三(2)", "语文", "程静"));
    covers::appendEverywhere(*db, cover("王芳", 4, "四(1)", "数学", "程静"));
    // Before anyone was told there is nothing to tell again.
    auto b = board::load(*db, 15, 3);
    ASSERT_EQ(b.lines.size(), 2u);
    EXPECT_FALSE(b.lines[0].changed || b.lines[1].changed);
    EXPECT_TRUE(b.withdrawn.empty());

    telling::markTold(*db);
    ASSERT_TRUE(
        covers::removeOne(*db, CoverTable::Today, cover("王芳", 4, "四(1)", "数学", "程静")));
    covers::append(*db, CoverTable::Today, cover("李明", 4, "四(1)", "数学", "程静"));
    // A told cover of another day (left over) is not this board's.
    covers::append(*db, CoverTable::Told, cover("孙丽", 2, "一(1)", "语文", "程静", "14"));
    b = board::load(*db, 15, 3);
    ASSERT_EQ(b.lines.size(), 2u);
    EXPECT_EQ(b.lines[0].substitute, "赵晶超");
    EXPECT_FALSE(b.lines[0].changed);
    EXPECT_EQ(b.lines[1].substitute, "李明");
    EXPECT_TRUE(b.lines[1].changed);
    ASSERT_EQ(b.withdrawn.size(), 1u);
    EXPECT_EQ(
        b.withdrawn[0].substitute + std::to_string(b.withdrawn[0].period) + b.withdrawn[0].cls,
        "王芳4四(1)");

    // Told again: the marks go.
    telling::markTold(*db);
    b = board::load(*db, 15, 3);
    EXPECT_FALSE(b.lines[1].changed);
    EXPECT_TRUE(b.withdrawn.empty());
}

}  // namespace
}  // namespace daike
