// The day and term resets: what each rebuilds or empties, and what each must keep.
#include "school/resets.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace daike {
namespace {

using testing::TempStore;

// Column "wp" of 空课教师表 from the top, Null cells as "NULL".
std::string freeColumn(TempStore& db, const std::string& slot) {
    return db.column("SELECT \"" + slot + "\" FROM 空课教师表 ORDER BY rowid");
}

void lesson(TempStore& db, const std::string& name, int w, int p,
            const std::string& cls = "一(1)") {
    db->exec("INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES (?, ?, ?, ?, '语文')",
             {name, w, cls, p});
}

void teachers(TempStore& db, std::initializer_list<const char*> names) {
    for (const char* n : names) db->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {n});
}

TEST(FreeTeacherTable, ListsEachSlotsFreeTeachersInTeacherOrder) {
    TempStore db;
    teachers(db, {"张三", "李四", "王五"});
    // 李四 teaches in every slot, 王五 on Monday period 1 only, 张三 never.
    for (int w = 1; w <= 5; ++w)
        for (int p = 1; p <= 6; ++p) lesson(db, "李四", w, p, "一(2)");
    lesson(db, "王五", 1, 1);
    buildFreeTeachers(*db);

    // The longest column holds two names; a row was added when 王五 was reached past the last
    // row, and one closing empty row follows.
    EXPECT_EQ(freeColumn(db, "11"), "张三|NULL|NULL");
    EXPECT_EQ(freeColumn(db, "12"), "张三|王五|NULL");
    EXPECT_EQ(freeColumn(db, "56"), "张三|王五|NULL");
    for (int w = 1; w <= 5; ++w)
        for (int p = 1; p <= 6; ++p) {
            const auto col = freeColumn(db, std::to_string(w) + std::to_string(p));
            EXPECT_EQ(col.rfind("张三", 0), 0u) << col;             // free in all thirty slots
            EXPECT_EQ(col.find("李四"), std::string::npos) << col;  // busy in all thirty
        }
}

TEST(FreeTeacherTable, EmptyOrRebuiltTables) {
    TempStore db;
    // No teachers: the row added for the empty table and the closing one.
    buildFreeTeachers(*db);
    EXPECT_EQ(freeColumn(db, "11"), "NULL|NULL");

    // A rebuild replaces the old rows, it does not add to them.
    teachers(db, {"张三", "李四"});
    buildFreeTeachers(*db);
    buildFreeTeachers(*db);
    EXPECT_EQ(freeColumn(db, "34"), "张三|李四|NULL");
}

TEST(FreeTeacherTable, TeacherRowWithoutNameDoesNotCutTheList) {
    TempStore db;
    db->execScript("INSERT INTO 教师姓名 (姓名) VALUES ('张三'), (NULL), (''), ('李四')");
    buildFreeTeachers(*db);
    EXPECT_EQ(freeColumn(db, "11"), "张三|李四|NULL");
}

TEST(DailyCounts, OneRowPerTeacherWithWeekdayCountsAndSum) {
    TempStore db;
    teachers(db, {"张三", "李四", "王五"});
    lesson(db, "张三", 1, 1);
    lesson(db, "张三", 1, 2);
    lesson(db, "张三", 1, 5);
    lesson(db, "李四", 2, 1);
    lesson(db, "李四", 5, 6);
    db->execScript("INSERT INTO 每日节数表 (姓名) VALUES ('旧数据')");
    countDailyLessons(*db);
    EXPECT_EQ(db.column("SELECT 姓名||':'||\"1\"||\"2\"||\"3\"||\"4\"||\"5\"||':'||总和 FROM "
                        "每日节数表 ORDER BY rowid"),
              "张三:30000:3|李四:01001:2|王五:00000:0");
    // No teachers: an empty table, not a row without a name.
    db->execScript("DELETE FROM 教师姓名");
    countDailyLessons(*db);
    EXPECT_EQ(db.count("每日节数表"), 0);
}

TEST(CoverCounts, RebuiltWithZerosForEveryTeacher) {
    TempStore db;
    teachers(db, {"张三", "李四"});
    db->execScript("INSERT INTO 代课节数 VALUES ('张三', 2, 9), ('已调走', 1, 1)");
    resetCoverCounts(*db);
    EXPECT_EQ(db.column("SELECT 姓名||当日代课||学期代课 FROM 代课节数 ORDER BY rowid"),
              "张三00|李四00");
}

// Every table holding one row, the marks of the lesson set.
void fillEveryTable(TempStore& db) {
    db->execScript(R"(
        INSERT INTO 教师姓名 (姓名) VALUES ('张三');
        INSERT INTO 班级 VALUES ('一(1)');
        INSERT INTO 开设课程 (课程) VALUES ('语文');
        INSERT INTO 任课情况 VALUES ('张三', 1, '一(1)', 1, '语文', 1, 1);
        INSERT INTO 开学第一天 VALUES ('2026/8/31');
        INSERT INTO 公出表 VALUES ('王五');
        INSERT INTO 代课节数 VALUES ('张三', 2, 7);
        INSERT INTO 每日节数表 (姓名) VALUES ('张三');
        INSERT INTO 空课教师表 ("11") VALUES ('张三');
        INSERT INTO 当天代课记录 (被代) VALUES ('张三');
        INSERT INTO 代课教师 ("1") VALUES ('张三');
        INSERT INTO 需代课目情况 (姓名) VALUES ('张三');
        INSERT INTO 代课记录 (被代) VALUES ('张三');
        INSERT INTO 临时代课记录 (被代) VALUES ('张三');
        INSERT INTO 临时运算表 (姓名) VALUES ('张三');
        INSERT INTO 可代教师 VALUES ('张三');
    )");
}

TEST(NewDay, EmptiesTheDayAndKeepsTheTerm) {
    TempStore db;
    fillEveryTable(db);
    newDay(*db);
    for (const char* t : {"代课教师", "临时代课记录", "需代课目情况", "当天代课记录"})
        EXPECT_EQ(db.count(t), 0) << t;
    EXPECT_EQ(db.column("SELECT 当日代课||'/'||学期代课 FROM 代课节数"), "0/7");
    EXPECT_EQ(db.column("SELECT coalesce(标记, 'NULL')||coalesce(已代标记, 'NULL') FROM 任课情况"),
              "NULLNULL");
    EXPECT_EQ(db.count("任课情况"), 1);
    EXPECT_EQ(db.count("代课记录"), 1);
}

TEST(NewDay, FailureChangesNothing) {
    TempStore db;
    fillEveryTable(db);
    // The last table it empties is gone: the whole day must stay as it was.
    db->execScript("DROP TABLE 当天代课记录");
    EXPECT_THROW(newDay(*db), Failure);
    EXPECT_EQ(db.count("代课教师"), 1);
    EXPECT_EQ(db.column("SELECT 当日代课 FROM 代课节数"), "2");
    EXPECT_EQ(db.column("SELECT 标记 FROM 任课情况"), "1");
}

TEST(NewDay, QuestionCountsTodaysCoversAndKeepsQuietOnAnEmptyDay) {
    TempStore db;
    // Covers of the term and a cover count do not belong to the day: nothing to ask about.
    db->execScript(R"(
        INSERT INTO 任课情况 VALUES ('张三', 1, '一(1)', 1, '语文', NULL, NULL);
        INSERT INTO 代课记录 (被代) VALUES ('张三');
        INSERT INTO 代课节数 VALUES ('李四', 0, 3);
    )");
    EXPECT_EQ(newDayQuestion(*db), std::nullopt);

    db->execScript("INSERT INTO 当天代课记录 (被代) VALUES ('张三'), ('张三')");
    EXPECT_EQ(newDayQuestion(*db), "将清除今天已安排的2节代课（学期记录保留），是否开始新的一天？");
}

TEST(NewDay, AsksWhenTheDayHoldsWorkWithoutACover) {
    // Each of these is lost to 新的一天 though no cover is recorded yet: the question names 0.
    for (const char* held : {
             "INSERT INTO 代课教师 (\"3\") VALUES ('张三')",
             "INSERT INTO 需代课目情况 (姓名) VALUES ('张三')",
             "INSERT INTO 临时代课记录 (被代) VALUES ('张三')",
             "INSERT INTO 任课情况 VALUES ('张三', 1, '一(1)', 1, '语文', 1, NULL)",
         }) {
        TempStore db;
        db->execScript(held);
        EXPECT_EQ(newDayQuestion(*db),
                  "将清除今天已安排的0节代课（学期记录保留），是否开始新的一天？")
            << held;
    }
}

TEST(TermRecords, EmptiesOnlyTheTermsCoverRecords) {
    TempStore db;
    fillEveryTable(db);
    clearTermRecords(*db);
    EXPECT_EQ(db.count("代课记录"), 0);
    EXPECT_EQ(db.count("当天代课记录"), 1);
    EXPECT_EQ(db.count("代课节数"), 1);
}

TEST(EmptyAllData, KeepsTermStartExemptListAndPassword) {
    TempStore db;
    fillEveryTable(db);
    db->exec("UPDATE 注册码 SET 密码 = '123'");
    emptyAllData(*db);
    for (const char* t : {"班级", "代课记录", "代课教师", "代课节数", "当天代课记录", "教师姓名",
                          "开设课程", "可代教师", "空课教师表", "临时代课记录", "临时运算表",
                          "每日节数表", "任课情况", "需代课目情况"})
        EXPECT_EQ(db.count(t), 0) << t;
    EXPECT_EQ(db.column("SELECT 日期 FROM 开学第一天"), "2026/8/31");
    EXPECT_EQ(db.column("SELECT 姓名 FROM 公出表"), "王五");
    EXPECT_EQ(db.column("SELECT 密码 FROM 注册码"), "123");
}

}  // namespace
}  // namespace daike
