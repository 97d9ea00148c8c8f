// The two look-ups of a lesson slot: who is in a class, and where a teacher is.
#include "engine/lookup.h"

#include "test_support.h"

namespace daike {
namespace {

class Lookup : public testing::StoreTest {
  protected:
    void SetUp() override {
        store().execScript(
            "INSERT INTO 教师姓名 (姓名) VALUES "
            "('张三'),('李四'),('王五'),('赵六'),('陈七'),('孙八'),('钱九');"
            "INSERT INTO 任课情况 (姓名,星期,班级,节次,课目,已代标记) VALUES "
            "('张三',3,'一(1)',2,'语文',NULL),"
            "('李四',3,'一(10)',2,'数学',1),"  // covered today by 王五
            "('李四',3,'一(1)',4,'数学',1),"   // marked covered, but no record of it
            "('赵六',3,'二(1)',5,'科学',NULL);"
            "INSERT INTO 当天代课记录 VALUES ('李四','病假','王五','5',3,'一(10)','数学',2);"
            "INSERT INTO 代课教师 (\"2\",\"5\") VALUES ('李四','陈七'),('王五',NULL),(NULL,'孙八');"
            "INSERT INTO 代课教师 (\"5\") VALUES ('钱九');");
    }
};

TEST_F(Lookup, WhoIsInAClass) {
    using Kind = lookup::InClass::Kind;
    auto r = lookup::whoIsInClass(store(), 3, "一(1)", 2);
    EXPECT_EQ(r->kind, Kind::Lesson);
    EXPECT_EQ(r->teacher + r->subject, "张三语文");
    // Covered today: the substitute and the subject of the cover record.
    r = lookup::whoIsInClass(store(), 3, "一(10)", 2);
    EXPECT_EQ(r->kind, Kind::Covered);
    EXPECT_EQ(r->teacher + r->subject, "王五数学");
    // 一(1) is not 一(10): its own lesson of that slot, or none.
    EXPECT_EQ(lookup::whoIsInClass(store(), 3, "一(1)", 3)->kind, Kind::NoLesson);
    // Marked covered without a record: the timetabled teacher, and it is said.
    r = lookup::whoIsInClass(store(), 3, "一(1)", 4);
    EXPECT_EQ(r->kind, Kind::RecordMissing);
    EXPECT_EQ(r->teacher + r->subject, "李四数学");
    // Another weekday has no lesson of that class then.
    EXPECT_EQ(lookup::whoIsInClass(store(), 4, "一(1)", 2)->kind, Kind::NoLesson);
    // No class chosen, or a day outside the week: refused.
    EXPECT_EQ(lookup::whoIsInClass(store(), 3, "", 2).refusal().message, "您所查班级还没有选定");
    EXPECT_EQ(lookup::whoIsInClass(store(), 6, "一(1)", 2).refusal().message, "您所选星期不正确");
}

TEST_F(Lookup, WhereIsATeacher) {
    auto at = [&](const char* name, int weekday, int period) {
        const auto w = lookup::whereIsTeacher(store(), weekday, name, period, 3);
        return w ? w->place + "|" + w->status : w.refusal().message;
    };
    EXPECT_EQ(at("张三", 3, 2), "一(1)|语文课");
    // A lesson covered today: the teacher is away.
    EXPECT_EQ(at("李四", 3, 2), "|已公出");
    // A free period in which the teacher covers a lesson: in that class.
    EXPECT_EQ(at("王五", 3, 2), "一(10)|代数学课");
    // Free periods: away when listed in the period's column up to its first empty cell.
    EXPECT_EQ(at("陈七", 3, 5), "|已公出");
    EXPECT_EQ(at("孙八", 3, 5), "|在办公");
    EXPECT_EQ(at("钱九", 3, 5), "|在办公");
    EXPECT_EQ(at("陈七", 3, 4), "|在办公");
    EXPECT_EQ(at("赵六", 3, 5), "二(1)|科学课");
    // The away list is the covered day's: another weekday's free period is spent in the office.
    EXPECT_EQ(at("陈七", 2, 5), "|在办公");
    EXPECT_EQ(at("", 3, 5), "您所查教师还没有选定");
    EXPECT_EQ(at("张三", 0, 2), "您所选星期不正确");
    // A name no teacher has is not "in the office": it is refused first, with the names meant.
    EXPECT_EQ(at("张叁", 3, 2), "没有名为“张叁”的教师。是不是：张三？");
    EXPECT_EQ(at("张叁", 0, 2), "没有名为“张叁”的教师。是不是：张三？");
    EXPECT_EQ(at("周十", 3, 2), "没有名为“周十”的教师。");
    // Nobody away at all.
    store().execScript("DELETE FROM 代课教师");
    EXPECT_EQ(at("陈七", 3, 5), "|在办公");
}

TEST_F(Lookup, TheBookingsBelongToTheDayOfTodaysRecords) {
    // Wednesday's cover is stored: on Saturday, or on Thursday before a new day, the bookings
    // are still Wednesday's, and 陈七 is away in Wednesday's free period 5.
    for (int run : {6, 4, 3}) {
        EXPECT_EQ(lookup::bookedDay(store(), run), 3) << run;
        EXPECT_EQ(
            lookup::whereIsTeacher(store(), 3, "陈七", 5, lookup::bookedDay(store(), run))->status,
            "已公出")
            << run;
    }
    // Without records the bookings are the run's day's.
    store().execScript("DELETE FROM 当天代课记录");
    EXPECT_EQ(lookup::bookedDay(store(), 6), 6);
    EXPECT_EQ(lookup::bookedDay(store(), 2), 2);
}

TEST(LookupWeekday, ButtonsWrapWithinTheWeek) {
    EXPECT_EQ(lookup::nextWeekday(1), 2);
    EXPECT_EQ(lookup::nextWeekday(5), 1);
    EXPECT_EQ(lookup::previousWeekday(1), 5);
    EXPECT_EQ(lookup::previousWeekday(3), 2);
    // A weekend day shown at the start.
    EXPECT_EQ(lookup::nextWeekday(6), 1);
    EXPECT_EQ(lookup::previousWeekday(7), 5);
    EXPECT_EQ(lookup::previousWeekday(0), 5);
    EXPECT_FALSE(lookup::validWeekday(0));
    EXPECT_FALSE(lookup::validWeekday(6));
    EXPECT_TRUE(lookup::validWeekday(5));
}

}  // namespace
}  // namespace daike
