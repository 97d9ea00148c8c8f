// The table modules against a real database file: what is written reads back the same, rows
// keep table order, the Null rules hold and packed columns stay packed. Each test reopens the
// file where it matters, so that nothing is only true of the open connection.
#include <gtest/gtest.h>

#include "store/tables/away.h"
#include "store/tables/candidates.h"
#include "store/tables/classes.h"
#include "store/tables/covers.h"
#include "store/tables/daily_counts.h"
#include "store/tables/exempt_list.h"
#include "store/tables/free_slots.h"
#include "store/tables/queue.h"
#include "store/tables/settings.h"
#include "store/tables/tallies.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/tables/wipe.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::TempStore;

CoverRecord cover(std::string absent, std::string substitute, int period,
                  std::string cls = "一(1)") {
    return {
        std::move(absent), "病假", std::move(substitute), "5", 3, std::move(cls), "语文", period};
}

TEST(CoverRecords, RoundTripInEveryTableThroughAReopen) {
    TempStore db;
    const auto a = cover("张三", "李四", 2);
    const auto b = cover("王五", "赵六", 1, "二(3)");
    covers::appendEverywhere(*db, a);
    covers::appendEverywhere(*db, b);
    db.store.reset();
    db.store = Store::open(db.dir());
    for (auto t : {CoverTable::Session, CoverTable::Term, CoverTable::Today})
        EXPECT_EQ(covers::read(*db, t), (std::vector<CoverRecord>{a, b}));
    // The stored layout is the office's: eight columns by position.
    EXPECT_EQ(db.all("SELECT * FROM 代课记录 ORDER BY rowid LIMIT 1"),
              "张三|病假|李四|5|3|一(1)|语文|2");
}

TEST(CoverRecords, FiltersAndOrders) {
    TempStore db;
    covers::append(*db, CoverTable::Today, cover("张三", "王五", 2));
    covers::append(*db, CoverTable::Today, cover("张三", "李四", 3));
    covers::append(*db, CoverTable::Today, cover("陈七", "李四", 4));
    CoverFilter bySub;
    bySub.substitute = "李四";
    EXPECT_EQ(covers::read(*db, CoverTable::Today, bySub).size(), 2u);
    CoverFilter slot;
    slot.weekday = 3;
    slot.period = 4;
    EXPECT_TRUE(covers::any(*db, CoverTable::Today, slot));
    slot.period = 5;
    EXPECT_FALSE(covers::any(*db, CoverTable::Today, slot));
    EXPECT_FALSE(covers::any(*db, CoverTable::Term));
    // Pinyin order: 李 (li) before 王 (wang); ties keep the order of recording.
    const auto sorted = covers::bySubstitute(*db, CoverTable::Today);
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted[0].period, 3);
    EXPECT_EQ(sorted[1].period, 4);
    EXPECT_EQ(sorted[2].substitute, "王五");
    EXPECT_EQ(covers::byAbsent(*db, CoverTable::Today)[0].absent, "陈七");
}

TEST(CoverRecords, RemoveOneTakesExactlyTheCoverNamed) {
    TempStore db;
    // Two covers of one class in one period (two lessons there) and a copy recorded twice.
    auto first = cover("张三", "李四", 2);
    auto other = cover("王五", "赵六", 2);
    covers::append(*db, CoverTable::Term, first);
    covers::append(*db, CoverTable::Term, other);
    covers::append(*db, CoverTable::Term, first);
    EXPECT_TRUE(covers::removeOne(*db, CoverTable::Term, other));
    EXPECT_FALSE(covers::removeOne(*db, CoverTable::Term, other));
    EXPECT_TRUE(covers::removeOne(*db, CoverTable::Term, first));
    EXPECT_EQ(covers::read(*db, CoverTable::Term), std::vector<CoverRecord>{first});
    // Another week is another cover; the reason does not tell covers apart.
    auto lastWeek = first;
    lastWeek.week = "4";
    EXPECT_FALSE(covers::removeOne(*db, CoverTable::Term, lastWeek));
    auto otherReason = first;
    otherReason.reason = "事假";
    EXPECT_TRUE(covers::removeOne(*db, CoverTable::Term, otherReason));
    EXPECT_EQ(db.count("代课记录"), 0);
}

TEST(CoverRecords, AWeekStoredAsANumberIsReadAsShown) {
    TempStore db;
    db->exec("INSERT INTO 当天代课记录 VALUES ('张三','公出','李四',7,2,'一(1)','数学',1)");
    const auto r = covers::read(*db, CoverTable::Today);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].week, "7");
    EXPECT_TRUE(covers::removeOne(*db, CoverTable::Today, r[0]));
}

TEST(Away, ColumnsStayPackedWithTheirFlags) {
    TempStore db;
    away::book(*db, 2, "张三");
    away::book(*db, 2, "李四", true);
    away::book(*db, 2, "王五");
    away::book(*db, 5, "赵六", true);
    EXPECT_EQ(db.count("代课教师"), 3);  // period 5 takes the first row
    EXPECT_TRUE(away::withdraw(*db, 2, "张三"));
    EXPECT_FALSE(away::withdraw(*db, 2, "张三"));
    const auto p2 = away::inPeriod(*db, 2);
    ASSERT_EQ(p2.size(), 2u);
    EXPECT_EQ(p2[0].name, "李四");
    EXPECT_TRUE(p2[0].freePeriod);  // the flag moved up with the name
    EXPECT_EQ(p2[1].name, "王五");
    EXPECT_FALSE(p2[1].freePeriod);
    EXPECT_EQ(db.all("SELECT \"2\", \"22\", \"5\", \"55\" FROM 代课教师 ORDER BY rowid"),
              "李四|1|赵六|1;王五|NULL|NULL|NULL;NULL|NULL|NULL|NULL");
    // A name withdrawn frees its cell for the next booking.
    away::book(*db, 2, "陈七");
    EXPECT_EQ(away::inPeriod(*db, 2).back().name, "陈七");
    EXPECT_EQ(db.count("代课教师"), 3);
    EXPECT_TRUE(away::isBooked(*db, 5, "赵六"));
    EXPECT_FALSE(away::isBooked(*db, 4, "赵六"));
    EXPECT_TRUE(away::inPeriod(*db, 7).empty());
    // Row by row, period by period.
    const auto all = away::all(*db);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1].name, "赵六");
    away::clear(*db);
    EXPECT_FALSE(away::anyone(*db));
}

TEST(Away, ReadFromTheTopStopsAtAGapThatInPeriodSkips) {
    TempStore db;
    db->exec("INSERT INTO 代课教师 (\"3\", \"33\") VALUES ('甲', '1'), (NULL, NULL), ('乙', NULL)");
    const auto top = away::fromTop(*db, 3);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].name, "甲");
    EXPECT_TRUE(top[0].freePeriod);
    EXPECT_EQ(away::inPeriod(*db, 3).size(), 2u);
    EXPECT_TRUE(away::fromTop(*db, 0).empty());
}

TEST(TimetableRows, MarksAreNullOrOneNeverZero) {
    TempStore db;
    const auto r1 = timetable::add(*db, {0, "张三", 1, "一(1)", 2, "语文"});
    const auto r2 = timetable::add(*db, {0, "张三", 1, "一(2)", 1, "数学"});
    timetable::add(*db, {0, "李四", 1, "一(1)", 1, "英语"});
    EXPECT_EQ(db.column("SELECT 标记 FROM 任课情况"), "NULL|NULL|NULL");
    timetable::setMarks(*db, r1, true, true);
    timetable::setDealtWith(*db, r2, true);
    EXPECT_EQ(timetable::heldBack(*db).size(), 1u);
    timetable::releaseHeldBack(*db);
    EXPECT_EQ(db.all("SELECT 标记, 已代标记 FROM 任课情况 ORDER BY rowid"),
              "1|1;NULL|NULL;NULL|NULL");
    timetable::setMarks(*db, r1, false, false);
    EXPECT_EQ(db.all("SELECT 标记, 已代标记 FROM 任课情况 ORDER BY rowid LIMIT 1"), "NULL|NULL");
    timetable::setMarks(*db, r2, true, true);
    timetable::clearMarks(*db);
    EXPECT_EQ(
        db.one("SELECT count(*) FROM 任课情况 WHERE 标记 IS NOT NULL OR 已代标记 IS NOT NULL"),
        "0");
    // A teacher's day by period; ties in table order.
    LessonFilter day;
    day.teacher = "张三";
    day.weekday = 1;
    const auto lessons = timetable::byPeriod(*db, day);
    ASSERT_EQ(lessons.size(), 2u);
    EXPECT_EQ(lessons[0].cls, "一(2)");
    EXPECT_EQ(lessons[1].row, r1);
}

TEST(TimetableRows, LessonsOffTheGridAreSaidSo) {
    TempStore db;
    db->exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES ('张三', 6, '一(1)', 1, "
        "'语文'), ('张三', '1', '一(1)', 2, '语文'), ('张三', 1, '一(1)', 3, '语文')");
    const auto all = timetable::read(*db);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_FALSE(all[0].onGrid);
    EXPECT_TRUE(all[1].onGrid);  // the INTEGER column stores '1' as a number
    EXPECT_TRUE(all[2].onGrid);
    timetable::replaceAll(*db, {all[2]});
    EXPECT_EQ(db.count("任课情况"), 1);
}

TEST(TimetableRows, LessonsPerWeekdayCountOnlyNamedLessonsOnAWholeWeekday) {
    TempStore db;
    db->exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES ('张三', 1, '一(1)', 1, "
        "'语文'), ('张三', 1, '一(1)', 9, '语文'), ('张三', 5, '一(1)', 2, '语文'), "
        "('张三', 2.5, '一(1)', 2, '语文'), ('张三', '周二', '一(1)', 2, '语文'), "
        "('张三', 6, '一(1)', 2, '语文'), ('张三', NULL, '一(1)', 2, '语文'), "
        "(NULL, 1, '一(1)', 4, '语文'), ('', 3, '一(1)', 4, '语文')");
    const auto counts = timetable::lessonsPerWeekday(*db);
    ASSERT_EQ(counts.size(), 2u);
    // A period outside the day still counts for its weekday; the rest count nowhere.
    EXPECT_EQ(counts.at("张三"), (week::PerDay<std::int64_t>{2, 0, 0, 0, 1}));
    EXPECT_EQ(counts.at(""), (week::PerDay<std::int64_t>{0, 0, 1, 0, 0}));
}

TEST(Queue, ACopyOfTheLessonGoesWhenCovered) {
    TempStore db;
    const QueuedLesson a{"张三", 2, "一(1)", 3, "语文"};
    const QueuedLesson b{"李四", 2, "一(1)", 3, "音乐"};
    queue::add(*db, a);
    queue::add(*db, b);
    LessonFilter slot;
    slot.weekday = 2;
    slot.cls = "一(1)";
    slot.period = 3;
    EXPECT_EQ(queue::read(*db, slot).size(), 2u);
    EXPECT_TRUE(queue::removeOne(*db, b));
    EXPECT_FALSE(queue::removeOne(*db, b));
    EXPECT_EQ(queue::read(*db), std::vector<QueuedLesson>{a});
    queue::clear(*db);
    EXPECT_TRUE(queue::read(*db).empty());
}

TEST(Teachers, ClassValuesKeepTheirNulls) {
    TempStore db;
    TeacherRow t;
    t.name = "张三";
    t.headOf = "一(1)";
    t.subjectClasses[1] = "一(1),一(2)";
    TeacherRow nameless;
    teachers::replaceAll(*db, {t, nameless});
    EXPECT_EQ(db.all("SELECT * FROM 教师姓名 ORDER BY rowid"),
              "张三|一(1)|NULL|一(1),一(2)|NULL|NULL;NULL|NULL|NULL|NULL|NULL|NULL");
    auto found = teachers::find(*db, "张三");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->classValue(2), "一(1),一(2)");
    EXPECT_FALSE(found->classValue(1));
    found->classValue(0).reset();
    found->name = "张　三";
    teachers::update(*db, *found);
    EXPECT_FALSE(teachers::exists(*db, "张三"));
    EXPECT_EQ(teachers::names(*db), (std::vector<std::string>{"张　三", ""}));
    EXPECT_EQ(db.one("SELECT 班主任 FROM 教师姓名 ORDER BY rowid"), "NULL");
}

TEST(Tallies, CountUpAndDownNeverBelowZero) {
    TempStore db;
    tallies::rebuild(*db, {"张三", "李四"});
    EXPECT_TRUE(tallies::addCover(*db, "张三"));
    EXPECT_TRUE(tallies::addCover(*db, "张三"));
    EXPECT_FALSE(tallies::addCover(*db, "王五"));
    EXPECT_TRUE(tallies::takeCover(*db, "李四"));
    tallies::resetToday(*db);
    EXPECT_TRUE(tallies::takeCover(*db, "张三"));
    const auto t = tallies::find(*db, "张三");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->today, 0);
    EXPECT_EQ(t->term, 1);
    EXPECT_EQ(db.all("SELECT * FROM 代课节数 ORDER BY rowid"), "张三|0|1;李四|0|0");
}

TEST(DailyCountsAndFreeSlots, ReadBackByWeekdayAndSlot) {
    TempStore db;
    DailyCount d;
    d.name = "张三";
    d.lessons = {1, 0, 3, 0, 2};
    d.total = 6;
    dailycounts::replaceAll(*db, {d});
    const auto back = dailycounts::find(*db, "张三");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->lessons[2], 3);
    EXPECT_EQ(back->total, 6);
    EXPECT_EQ(db.one("SELECT \"3\" FROM 每日节数表"), "3");

    week::PerSlot<Value> row1, row2, row3;
    row1[week::slotIndex(3, 5)] = "张三";
    row2[week::slotIndex(3, 5)] = "李四";
    row3[week::slotIndex(3, 5)] = "王五";
    row2[week::slotIndex(1, 1)] = "赵六";
    freeslots::replaceAll(*db, {row1, row2, row3});
    EXPECT_EQ(db.one("SELECT \"35\" FROM 空课教师表 ORDER BY rowid"), "张三");
    EXPECT_EQ(freeslots::freeIn(*db, 3, 5), (std::vector<std::string>{"张三", "李四", "王五"}));
    // A slot's list ends at its first empty cell.
    EXPECT_TRUE(freeslots::freeIn(*db, 1, 1).empty());
    EXPECT_TRUE(freeslots::freeIn(*db, 6, 1).empty());
    db->exec("UPDATE 空课教师表 SET \"35\"='0' WHERE rowid=(SELECT max(rowid) FROM 空课教师表)");
    EXPECT_EQ(freeslots::freeIn(*db, 3, 5).size(), 2u);
}

TEST(Settings, SingleRowsAndTheirAbsence) {
    TempStore db;
    EXPECT_FALSE(settings::termStart(*db));
    settings::setTermStart(*db, "2024-09-02");
    settings::setTermStart(*db, "2025-02-17");
    EXPECT_EQ(settings::termStart(*db), "2025-02-17");
    EXPECT_EQ(db.count("开学第一天"), 1);
    db->exec("INSERT INTO 开学第一天 (日期) VALUES ('2020-01-01')");
    settings::replaceTermStart(*db, "2026-03-02");
    EXPECT_EQ(settings::termStart(*db), "2026-03-02");
    EXPECT_EQ(db.count("开学第一天"), 1);
    settings::setPassword(*db, "123456");
    EXPECT_EQ(settings::password(*db).text(), "123456");
    EXPECT_EQ(db.count("注册码"), 1);
    EXPECT_FALSE(settings::payRate(*db));
    settings::setPayRate(*db, 25.5);
    EXPECT_EQ(settings::payRate(*db), 25.5);
    settings::setPayRate(*db, std::nullopt);
    EXPECT_EQ(db.count("代课酬金"), 0);
}

TEST(ClassesAndCourses, GradeColumnsArePacked) {
    TempStore db;
    EXPECT_FALSE(courses::ofGrade(*db, 0));
    courses::add(*db, "语文", {true, true, false, false, false, false});
    courses::add(*db, "英语", {false, true, false, false, false, false});
    courses::add(*db, "科学", {true, false, false, false, false, false});
    EXPECT_EQ(*courses::ofGrade(*db, 0), (std::vector<std::string>{"语文", "科学"}));
    EXPECT_EQ(*courses::ofGrade(*db, 1), (std::vector<std::string>{"语文", "英语"}));
    EXPECT_TRUE(courses::ofGrade(*db, 2)->empty());
    EXPECT_EQ(db.count("开设课程"), 3);
    // A whole table: each column packed on its own, as long as the longest list.
    courses::replaceAll(*db, {"语文", "数学"}, {{{"数学"}, {}, {"语文", "数学", "音乐"}}});
    EXPECT_EQ(db.count("开设课程"), 3);
    EXPECT_EQ(*courses::ofGrade(*db, 0), std::vector<std::string>{"数学"});
    EXPECT_TRUE(courses::ofGrade(*db, 1)->empty());
    EXPECT_EQ(courses::ofGrade(*db, 2)->size(), 3u);
    classes::replaceAll(*db, {"一(1)", "一(2)"});
    classes::replaceAll(*db, {"二(1)"});
    EXPECT_EQ(classes::names(*db), std::vector<std::string>{"二(1)"});
}

TEST(Candidates, RankedInTheOfficesOrder) {
    TempStore db;
    candidates::setEligible(*db, {"甲", "乙", "丙", "丁"});
    EXPECT_EQ(db.count("可代教师"), 4);
    candidates::replaceScores(*db, {{"甲", "", 3.0, 0.0, "否", 1.0, 0},
                                    {"乙", "数", 5.0, 1.0, "是", 4.0, 1},
                                    {"丙", "班语", 6.0, 0.0, "否", 2.0, 2},
                                    {"丁", "", 2.0, 0.0, "否", 9.0, 0}});
    const auto r = candidates::ranked(*db);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].name, "丙");
    EXPECT_EQ(r[1].name, "乙");
    EXPECT_EQ(r[2].name, "丁");  // fewer lessons today beats fewer covers this term
    EXPECT_EQ(r[3].classMark, 0);
    EXPECT_EQ(db.one("SELECT count(*) FROM 临时运算表 WHERE 班幅标记 IS NULL"), "2");
    candidates::clear(*db);
    EXPECT_EQ(db.count("临时运算表") + db.count("可代教师"), 0);
}

TEST(Wipe, KeepsTheSettingsAndTheExemptList) {
    TempStore db;
    exemptlist::add(*db, "张三");
    exemptlist::add(*db, "李四");
    settings::setTermStart(*db, "2024-09-02");
    settings::setPayRate(*db, 30);
    teachers::replaceAll(*db, {TeacherRow{0, "王五", {}, {}}});
    covers::appendEverywhere(*db, cover("王五", "李四", 1));
    tables::emptyAllButSettings(*db);
    EXPECT_EQ(db.count("教师姓名") + db.count("代课记录") + db.count("当天代课记录"), 0);
    EXPECT_EQ(exemptlist::names(*db), (std::vector<std::string>{"张三", "李四"}));
    EXPECT_TRUE(exemptlist::removeOne(*db, "张三"));
    EXPECT_FALSE(exemptlist::removeOne(*db, "张三"));
    EXPECT_EQ(settings::termStart(*db), "2024-09-02");
    EXPECT_EQ(settings::payRate(*db), 30);
}

}  // namespace
}  // namespace daike
