// The demo school must be a school the program can work with: a clash-free timetable, realistic
// loads, consistent base data and the initialisations run.
#include "basedata/demo_school.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/ranking.h"
#include "school/term_start.h"
#include "store/text.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::TempStore;

TEST(DemoSchool, CompleteAndClashFree) {
    TempStore db;
    const auto school = demo::fillSchool(*db, demo::demoPlan());
    ASSERT_GE(school.teachers.size(), 36u);
    ASSERT_LE(school.teachers.size(), 54u);
    EXPECT_EQ(school.classes.size(), 18u);
    EXPECT_EQ(db.column("SELECT 班级 FROM 班级 ORDER BY rowid LIMIT 4"), "一(1)|一(2)|一(3)|二(1)");

    // No class and no teacher twice in one slot.
    EXPECT_EQ(db.count("任课情况"), school.lessons);
    EXPECT_EQ(db->select("SELECT count(*) FROM (SELECT 1 FROM 任课情况 GROUP BY 班级, 星期, 节次 "
                         "HAVING count(*) > 1)")[0][0]
                  .toInt(),
              0);
    EXPECT_EQ(db->select("SELECT count(*) FROM (SELECT 1 FROM 任课情况 GROUP BY 姓名, 星期, 节次 "
                         "HAVING count(*) > 1)")[0][0]
                  .toInt(),
              0);
    // Every class nearly full, every teacher teaching 10 to 18 periods.
    for (const auto& row : db->select("SELECT count(*) FROM 任课情况 GROUP BY 班级")) {
        EXPECT_GE(row[0].toInt(), 27);
        EXPECT_LE(row[0].toInt(), 30);
    }
    EXPECT_EQ(db->select("SELECT count(DISTINCT 班级) FROM 任课情况")[0][0].toInt(), 18);
    for (const auto& name : school.teachers) {
        const auto n =
            db->select("SELECT count(*) FROM 任课情况 WHERE 姓名 = ?", {name})[0][0].toInt();
        EXPECT_GE(n, 10) << name;
        EXPECT_LE(n, 18) << name;
        EXPECT_LE(text::length(name), 3u) << name;  // short enough for the exempt list
    }
    // Each class has one head teacher, and its 语文 and 数学 teachers are listed for it.
    for (const auto& cls : school.classes) {
        EXPECT_EQ(db->select("SELECT count(*) FROM 教师姓名 WHERE 班主任 = ?", {cls})[0][0].toInt(),
                  1);
        for (const char* subject : {"语文", "数学"}) {
            auto rows = db->select("SELECT DISTINCT 姓名 FROM 任课情况 WHERE 班级 = ? AND 课目 = ?",
                                   {cls, subject});
            ASSERT_EQ(rows.size(), 1u) << cls << subject;
            auto t = db->select("SELECT * FROM 教师姓名 WHERE 姓名 = ?", {rows[0][0]});
            EXPECT_TRUE(
                ranking::classListContains(t[0][subject == std::string("语文") ? 2 : 3], cls));
        }
    }
    // The initialisations: a row per teacher in the counts and tallies; two exempt teachers;
    // a first day of term.
    EXPECT_EQ(db.count("每日节数表"), static_cast<long long>(school.teachers.size()));
    EXPECT_EQ(db.count("代课节数"), static_cast<long long>(school.teachers.size()));
    EXPECT_EQ(db->select("SELECT sum(总和) FROM 每日节数表")[0][0].toInt(), school.lessons);
    EXPECT_EQ(school.exempt.size(), 2u);
    EXPECT_EQ(db.count("公出表"), 2);
    EXPECT_TRUE(readTermStart(*db).has_value());
    // The password of the database stays.
    EXPECT_EQ(db.column("SELECT 密码 FROM 注册码"), "580417");
}

TEST(DemoSchool, SameSchoolEveryTime) {
    TempStore a, b;
    demo::fillSchool(*a, demo::demoPlan());
    demo::fillSchool(*b, demo::demoPlan());
    const char* q = "SELECT group_concat(姓名||星期||班级||节次||课目, ';') FROM 任课情况";
    EXPECT_EQ(a.column(q), b.column(q));
    // Filling again replaces the school.
    demo::fillSchool(*a, demo::demoPlan());
    EXPECT_EQ(a.column(q), b.column(q));
}

TEST(DemoSchool, LargerSchoolsHaveTheirSize) {
    for (int n : {64, 256}) {
        TempStore db;
        const auto plan = demo::planFor(n);
        const auto school = demo::fillSchool(*db, plan);
        EXPECT_EQ(db.count("教师姓名"), n);
        EXPECT_EQ(
            db->select("SELECT count(*) FROM (SELECT 1 FROM 任课情况 GROUP BY 姓名, 星期, 节次 "
                       "HAVING count(*) > 1)")[0][0]
                .toInt(),
            0);
        EXPECT_EQ(
            db->select("SELECT count(*) FROM (SELECT 1 FROM 任课情况 GROUP BY 班级, 星期, 节次 "
                       "HAVING count(*) > 1)")[0][0]
                .toInt(),
            0);
        EXPECT_EQ(
            db->select("SELECT max(c) FROM (SELECT count(*) c FROM 任课情况 GROUP BY 姓名)")[0][0]
                    .toInt() <= 30,
            true);
    }
}

TEST(DemoSchool, TermStartIsAMondayFourWeeksBack) {
    const auto today = calendar::makeDay(2026, 12, 9);  // a Wednesday
    const auto start = demo::termStartBefore(today);
    EXPECT_EQ(calendar::weekdayNumber(start), 1);
    EXPECT_EQ(calendar::weekNumber(start, today), 5);
}

}  // namespace
}  // namespace daike
