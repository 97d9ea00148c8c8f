// Entering several absent teachers: the rows of a teacher's day, the half-day boxes, and what
// storing a teacher writes.
#include "engine/absence_entry.h"

#include <gtest/gtest.h>

#include "test_support.h"

using namespace daike;
using absence::DaySheet;
using absence::Half;
using absence::RowState;

namespace {

class AbsenceEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // 张老师 on Wednesday: lessons in periods 1, 2, 4 and 6, period 2 covered already;
        // 3 and 5 are free.
        db->execScript(
            "INSERT INTO 教师姓名 (姓名) VALUES ('张老师'),('李老师');"
            "INSERT INTO 任课情况 VALUES ('张老师',3,'一(1)',1,'语文',NULL,NULL),"
            "('张老师',3,'一(2)',2,'语文',1,1),('张老师',3,'一(1)',4,'数学',NULL,NULL),"
            "('张老师',3,'一(3)',6,'科学',NULL,NULL),('张老师',2,'一(1)',1,'语文',NULL,NULL),"
            "('李老师',3,'二(1)',1,'英语',NULL,NULL);");
    }
    DaySheet sheet(const char* teacher = "张老师", int weekday = 3) {
        return DaySheet::load(*db, teacher, weekday);
    }
    daike::testing::TempStore db;
};

}  // namespace

TEST(AbsenceWeekday, OnlyOneToFiveIsAWeekday) {
    EXPECT_EQ(*absence::weekdayFrom("3"), 3);
    EXPECT_EQ(*absence::weekdayFrom(" 5 "), 5);
    for (const char* bad : {"", "0", "6", "7", "a", "1 or 1=1", "12", "-1", "３"}) {
        const auto refused = absence::weekdayFrom(bad);
        ASSERT_FALSE(refused) << bad;
        EXPECT_EQ(refused.refusal().message, "星期只能是1至5（星期一至星期五），请重新输入！");
    }
}

TEST_F(AbsenceEntryTest, RowsShowLessonsFreePeriodsAndCoveredLessons) {
    auto s = sheet();
    EXPECT_EQ(s.row(0).state(), RowState::OpenNotSelected);
    EXPECT_EQ(s.row(1).state(), RowState::Covered);
    EXPECT_EQ(s.row(2).state(), RowState::FreeNotSelected);
    EXPECT_EQ(s.row(0).classText(), "一(1)");
    EXPECT_EQ(s.row(5).subjectText(), "科学");
    EXPECT_FALSE(s.toggle(1)) << "a covered lesson cannot be chosen";
    EXPECT_TRUE(s.toggle(2));
    EXPECT_EQ(s.row(2).state(), RowState::FreeSelected);
    EXPECT_TRUE(s.toggle(2));
    EXPECT_EQ(s.row(2).state(), RowState::FreeNotSelected);
}

TEST_F(AbsenceEntryTest, HalfDayBoxCountsACoveredRowAsChosen) {
    auto s = sheet();
    EXPECT_EQ(s.half(0), Half::None);
    s.toggle(0);
    EXPECT_EQ(s.half(0), Half::Part);
    // Period 2 is covered: choosing 1 and 3 chooses the whole morning.
    s.toggle(2);
    EXPECT_EQ(s.half(0), Half::All);
    // Afternoon: the box chooses the lessons and the free period, and clears them all again.
    s.clickHalf(1);
    EXPECT_EQ(s.half(1), Half::All);
    EXPECT_EQ(s.row(4).state(), RowState::FreeSelected);
    s.toggle(3);
    EXPECT_EQ(s.half(1), Half::Part);
    s.clickHalf(1);
    EXPECT_EQ(s.half(1), Half::None);
    for (int r = 3; r < 6; ++r) EXPECT_FALSE(s.row(r).selected) << r;
    s.clickHalf(0);
    EXPECT_EQ(s.half(0), Half::None);
    EXPECT_EQ(s.row(1).state(), RowState::Covered);
}

TEST_F(AbsenceEntryTest, StoringQueuesChosenLessonsHoldsBackTheRestAndEntersTheTeacherAway) {
    auto s = sheet();
    s.toggle(0);  // 一(1) 语文
    s.toggle(2);  // free period 3
    const auto done = absence::storeTeacher(*db, "张老师", 3, s);
    EXPECT_EQ(done.queued, 1);
    EXPECT_EQ(done.heldBack, 2);
    EXPECT_TRUE(done.needsCover);
    EXPECT_TRUE(done.notFound.empty());
    EXPECT_EQ(db.all("SELECT * FROM 需代课目情况"), "张老师|3|一(1)|1|语文");
    // The unchosen open lessons are held back; the covered one and other days are untouched.
    EXPECT_EQ(db.all("SELECT 节次,标记,已代标记 FROM 任课情况 WHERE 姓名='张老师' AND 星期=3 "
                     "ORDER BY 节次"),
              "1|NULL|NULL;2|1|1;4|1|NULL;6|1|NULL");
    EXPECT_EQ(db.one("SELECT 标记 FROM 任课情况 WHERE 星期=2"), "NULL");
    EXPECT_EQ(db.all("SELECT \"1\",\"11\",\"3\",\"33\" FROM 代课教师"), "张老师|NULL|张老师|1");
}

TEST_F(AbsenceEntryTest, FreePeriodsOnlyNeedNoCoverButHoldBackEveryLesson) {
    auto s = sheet();
    s.toggle(4);
    const auto done = absence::storeTeacher(*db, "张老师", 3, s);
    EXPECT_FALSE(done.needsCover);
    EXPECT_EQ(db.count("需代课目情况"), 0);
    EXPECT_EQ(db.column("SELECT 标记 FROM 任课情况 WHERE 姓名='张老师' AND 星期=3 ORDER BY 节次"),
              "1|1|1|1");
    EXPECT_EQ(db.all("SELECT \"5\",\"55\" FROM 代课教师"), "张老师|1");
}

TEST_F(AbsenceEntryTest, TeacherWithoutLessonsThatDayCanBeStoredWithFreePeriods) {
    auto s = sheet("李老师", 4);
    EXPECT_FALSE(s.hasLessons());
    for (int r = 0; r < 6; ++r) EXPECT_EQ(s.row(r).state(), RowState::FreeNotSelected);
    s.clickHalf(0);
    const auto done = absence::storeTeacher(*db, "李老师", 4, s);
    EXPECT_FALSE(done.needsCover);
    EXPECT_EQ(done.heldBack, 0);
    EXPECT_EQ(db.all("SELECT \"1\",\"11\",\"2\",\"22\",\"3\",\"33\" FROM 代课教师"),
              "李老师|1|李老师|1|李老师|1");
    EXPECT_EQ(db.one("SELECT 标记 FROM 任课情况 WHERE 姓名='李老师'"), "NULL");
}

TEST_F(AbsenceEntryTest, SecondTeacherAwayInThePeriodGoesIntoTheNextCellDown) {
    db->execScript("INSERT INTO 代课教师 (\"1\",\"3\") VALUES ('甲',NULL),(NULL,'乙');");
    auto s = sheet();
    s.toggle(0);
    s.toggle(2);
    absence::storeTeacher(*db, "张老师", 3, s);
    auto t = sheet("李老师");
    t.toggle(0);  // 二(1) 英语, period 1
    absence::storeTeacher(*db, "李老师", 3, t);
    // Each column fills its own first free cell: 张老师 goes below 甲 into the row that holds
    // 乙 in period 3, and 李老师 into a new row below.
    EXPECT_EQ(db.all("SELECT \"1\",\"3\" FROM 代课教师"), "甲|张老师;张老师|乙;李老师|NULL");
    EXPECT_EQ(db.column("SELECT 姓名 FROM 需代课目情况"), "张老师|李老师");
}

TEST_F(AbsenceEntryTest, TwoLessonsInOnePeriodAreShownAndQueuedBoth) {
    db->execScript("INSERT INTO 任课情况 VALUES ('张老师',3,'一(4)',4,'数学',NULL,NULL);");
    auto s = sheet();
    EXPECT_EQ(s.row(3).classText(), "一(1)/一(4)");
    EXPECT_EQ(s.row(3).subjectText(), "数学/数学");
    s.toggle(3);
    const auto done = absence::storeTeacher(*db, "张老师", 3, s);
    EXPECT_EQ(done.queued, 2);
    EXPECT_EQ(db.column("SELECT 班级 FROM 需代课目情况"), "一(1)|一(4)");
    EXPECT_EQ(db.all("SELECT \"4\" FROM 代课教师"), "张老师") << "away once in the period";
}

TEST_F(AbsenceEntryTest, LessonGoneSinceTheDayWasShownIsReportedAndTheRestStored) {
    auto s = sheet();
    s.toggle(0);
    s.toggle(3);
    db->execScript("DELETE FROM 任课情况 WHERE 姓名='张老师' AND 节次=4;");
    const auto done = absence::storeTeacher(*db, "张老师", 3, s);
    ASSERT_EQ(done.notFound.size(), 1u);
    EXPECT_EQ(done.notFound[0], "第4节一(1)数学");
    EXPECT_EQ(db.column("SELECT 节次 FROM 需代课目情况"), "1");
    EXPECT_EQ(db.one("SELECT 标记 FROM 任课情况 WHERE 节次=6 AND 星期=3"), "1");
}

TEST_F(AbsenceEntryTest, AwayInAFreePeriodHeCoversInStandsOnceThere) {
    db->execScript("INSERT INTO 代课教师 (\"3\") VALUES ('张老师');");  // covering in period 3
    auto s = sheet();
    s.toggle(2);
    absence::storeTeacher(*db, "张老师", 3, s);
    EXPECT_EQ(db.one("SELECT count(*) FROM 代课教师 WHERE \"3\"='张老师'"), "1");
}

TEST_F(AbsenceEntryTest, EnteredAgainTheSameDayHisEntryIsEditedNotDoubled) {
    // First only period 1 and free period 3: 4 and 6 are held back.
    auto first = sheet();
    first.toggle(0);
    first.toggle(2);
    absence::storeTeacher(*db, "张老师", 3, first);
    EXPECT_EQ(db.column("SELECT 节次 FROM 任课情况 WHERE 星期=3 AND 姓名='张老师' AND 标记=1 "
                        "AND 已代标记 IS NULL ORDER BY 节次"),
              "4|6");
    // Meanwhile he covers someone in free period 5.
    db->execScript("INSERT INTO 代课教师 (\"5\") VALUES ('张老师');");

    // Again, after the window was closed: periods 1, 4 and 6, no free period.
    auto again = sheet();
    again.toggle(0);
    again.toggle(3);
    again.toggle(5);
    const auto done = absence::storeTeacher(*db, "张老师", 3, again);
    EXPECT_EQ(done.queued, 3);
    EXPECT_EQ(db.column("SELECT 节次 FROM 需代课目情况 ORDER BY 节次"), "1|4|6");
    // Every lesson ticked is offered again: none stays held back.
    EXPECT_EQ(db.one("SELECT count(*) FROM 任课情况 WHERE 标记=1 AND 已代标记 IS NULL"), "0");
    // Away once in each ticked period, no longer in free period 3; still covering in 5; the
    // covered period 2 untouched.
    EXPECT_EQ(db.all("SELECT \"1\",\"3\",\"4\",\"5\",\"6\" FROM 代课教师 WHERE \"1\" IS NOT NULL "
                     "OR \"3\" IS NOT NULL OR \"4\" IS NOT NULL OR \"5\" IS NOT NULL OR \"6\" "
                     "IS NOT NULL"),
              "张老师|NULL|张老师|张老师|张老师");
    EXPECT_EQ(db.one("SELECT 标记||已代标记 FROM 任课情况 WHERE 星期=3 AND 节次=2"), "11");
    EXPECT_EQ(*absence::storedTeacher(*db, "李老师"), "李老师");
    EXPECT_FALSE(absence::storedTeacher(*db, "李"));
}
