// Correcting recorded cover: the lists of the window, withdrawing every trace of a cover,
// re-assigning, and the marks turned over on leaving.
#include "engine/modification.h"

#include <gtest/gtest.h>

#include "test_support.h"

using namespace daike;
using daike::testing::SchoolBuilder;
using modification::CoverRow;

namespace {

class ModificationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // 张老师 (sick) is covered in period 2 by 赵三 and period 4 by 钱四; 钱四 also covers
        // 李老师 in period 1. 代课教师 holds the substitutes and the absent teachers.
        SchoolBuilder(*db)
            .tally("赵三", 1, 4)
            .tally("钱四", 2, 2)
            .tally("孙五", 0, 0)
            .lesson("张老师", 5, "一(1)", 2, "语文", 1, 1)
            .lesson("张老师", 5, "一(2)", 4, "数学", 1, 1)
            .lesson("张老师", 5, "一(1)", 5, "语文")
            .lesson("李老师", 5, "二(1)", 1, "英语", 1, 1)
            .cover("当天代课记录", "张老师", "病假", "赵三", "7", 5, "一(1)", "语文", 2)
            .cover("当天代课记录", "张老师", "病假", "钱四", "7", 5, "一(2)", "数学", 4)
            .cover("当天代课记录", "李老师", "公出", "钱四", "7", 5, "二(1)", "英语", 1)
            .sql("INSERT INTO 代课记录 SELECT * FROM 当天代课记录")
            .sql("INSERT INTO 临时代课记录 SELECT * FROM 当天代课记录")
            .away({{"1", "李老师"}, {"2", "张老师"}, {"4", "张老师"}})
            .away({{"1", "钱四"}, {"2", "赵三"}, {"4", "钱四"}})
            .build();
    }
    CoverRow zhaoSan() { return {"张老师", "病假", "赵三", "7", 5, "一(1)", "语文", 2}; }
    daike::testing::TempStore db;
};

}  // namespace

TEST_F(ModificationTest, ListsNameSubstitutesAbsentTeachersAndFreePeriodOnlyTeachers) {
    db->execScript(
        "UPDATE 代课教师 SET \"3\"='孙五', \"33\"='1' WHERE \"1\"='李老师';"
        "UPDATE 代课教师 SET \"3\"='张老师', \"33\"='1' WHERE \"1\"='钱四';");
    const auto lists = modification::prepare(*db);
    ASSERT_TRUE(lists);
    EXPECT_EQ(lists->substitutes, (std::vector<std::string>{"钱四", "赵三"}));
    // 张老师 is listed already; 孙五 is away only in a free period.
    EXPECT_EQ(lists->absent, (std::vector<std::string>{"李老师", "张老师", "孙五"}));
}

TEST_F(ModificationTest, NothingToCorrectWithoutRecordsOrAwayTeachers) {
    SchoolBuilder(*db)
        .sql("DELETE FROM 当天代课记录")
        .sql("DELETE FROM 代课教师")
        .away({{"11", "1"}})
        .build();
    const auto nothing = modification::prepare(*db);
    ASSERT_FALSE(nothing);
    EXPECT_EQ(nothing.refusal().message, "现无代课记录，无需修改！");
    SchoolBuilder(*db).away({{"6", "孙五"}}).build();
    EXPECT_TRUE(modification::prepare(*db));
}

TEST_F(ModificationTest, TheRecordsDayIsWorkedOnAtTheWeekendAndOnAnotherDay) {
    EXPECT_EQ(modification::weekdayOfRecords(*db, 6), 5);
    EXPECT_EQ(modification::weekdayOfRecords(*db, 7), 5);
    EXPECT_EQ(modification::weekdayOfRecords(*db, 2), 5);
    EXPECT_EQ(modification::weekdayOfRecords(*db, 5), 5);
    db->execScript("DELETE FROM 当天代课记录;");
    EXPECT_EQ(modification::weekdayOfRecords(*db, 6), 6);
}

TEST_F(ModificationTest, WithdrawTakesBackEveryTrace) {
    const auto out = modification::withdraw(*db, zhaoSan());
    EXPECT_TRUE(out.notFound.empty());
    for (const char* t : {"当天代课记录", "代课记录", "临时代课记录"})
        EXPECT_EQ(db.column(std::string("SELECT 代者 FROM ") + t), "钱四|钱四") << t;
    EXPECT_EQ(db.all("SELECT 当日代课,学期代课 FROM 代课节数 WHERE 姓名='赵三'"), "0|3");
    EXPECT_EQ(db.all("SELECT 标记,已代标记 FROM 任课情况 WHERE 节次=2"), "NULL|NULL");
    // Both 赵三 and 张老师 leave column "2"; column "1" and "4" are untouched.
    EXPECT_EQ(db.all("SELECT \"1\",\"2\",\"4\" FROM 代课教师"),
              "李老师|NULL|张老师;钱四|NULL|钱四");
    EXPECT_EQ(modification::coversBy(*db, "赵三").size(), 0u);
    EXPECT_FALSE(modification::givesCover(*db, "赵三"));
    EXPECT_TRUE(modification::hasCover(*db, "张老师"));
}

TEST_F(ModificationTest, TalliesNeverGoBelowZero) {
    db->execScript("UPDATE 代课节数 SET 当日代课=0, 学期代课=0 WHERE 姓名='赵三';");
    modification::withdraw(*db, zhaoSan());
    EXPECT_EQ(db.all("SELECT 当日代课,学期代课 FROM 代课节数 WHERE 姓名='赵三'"), "0|0");
}

TEST_F(ModificationTest, RemovingTheMiddleTeacherOfAColumnMovesTheLaterOneUpWithItsFlag) {
    SchoolBuilder(*db)
        .sql("DELETE FROM 代课教师")
        .away({{"2", "甲"}, {"22", "1"}, {"3", "x"}})
        .away({{"2", "赵三"}, {"22", nullptr}, {"3", "y"}})
        .away({{"2", "丙"}, {"22", "1"}, {"3", "z"}})
        .build();
    modification::withdraw(*db, zhaoSan());
    EXPECT_EQ(db.all("SELECT \"2\",\"22\",\"3\" FROM 代课教师"), "甲|1|x;丙|1|y;NULL|NULL|z");
}

TEST_F(ModificationTest, MissingRowsAreSkippedAndNamedWhileTheRestIsDone) {
    db->execScript(
        "DELETE FROM 代课记录 WHERE 节次=2; DELETE FROM 临时代课记录;"
        "DELETE FROM 代课节数 WHERE 姓名='赵三';"
        "DELETE FROM 任课情况 WHERE 节次=2;");
    const auto out = modification::withdraw(*db, zhaoSan());
    ASSERT_EQ(out.notFound.size(), 3u);
    EXPECT_NE(out.notFound[0].find("学期代课记录中没有一(1)班第2节语文"), std::string::npos);
    EXPECT_NE(out.notFound[1].find("代课节数表中没有赵三"), std::string::npos);
    EXPECT_NE(out.notFound[2].find("任课情况中没有张老师"), std::string::npos);
    EXPECT_EQ(db.count("当天代课记录"), 2);
    EXPECT_EQ(db.column("SELECT \"2\" FROM 代课教师"), "NULL|NULL");
}

TEST_F(ModificationTest, OfTwoCoversOfOneClassAndPeriodTheSelectedOneIsWithdrawn) {
    // Two lessons of 一(1) in period 3 (two teachers at once), covered by two substitutes.
    SchoolBuilder(*db)
        .lesson("甲", 5, "一(1)", 3, "音乐", 1, 1)
        .lesson("乙", 5, "一(1)", 3, "美术", 1, 1)
        .cover("当天代课记录", "甲", "事假", "赵三", "7", 5, "一(1)", "音乐", 3)
        .cover("当天代课记录", "乙", "事假", "孙五", "7", 5, "一(1)", "美术", 3)
        .sql("INSERT INTO 代课记录 SELECT * FROM 当天代课记录 WHERE 节次=3")
        .sql("UPDATE 代课节数 SET 当日代课=1,学期代课=1 WHERE 姓名='孙五'")
        .sql("UPDATE 代课教师 SET \"3\"='赵三' WHERE \"1\"='李老师'")
        .sql("UPDATE 代课教师 SET \"3\"='孙五' WHERE \"1\"='钱四'")
        .build();
    modification::withdraw(*db, {"乙", "事假", "孙五", "7", 5, "一(1)", "美术", 3});
    EXPECT_EQ(db.column("SELECT 代者 FROM 当天代课记录 WHERE 节次=3"), "赵三");
    EXPECT_EQ(db.column("SELECT 代者 FROM 代课记录 WHERE 节次=3"), "赵三");
    EXPECT_EQ(db.one("SELECT 标记 FROM 任课情况 WHERE 姓名='甲'"), "1");
    EXPECT_EQ(db.one("SELECT 标记 FROM 任课情况 WHERE 姓名='乙'"), "NULL");
    EXPECT_EQ(db.column("SELECT \"3\" FROM 代课教师"), "赵三|NULL");
}

TEST_F(ModificationTest, ReassignWithdrawsQueuesTheLessonAndKeepsTheTeacherAway) {
    modification::reassign(*db, zhaoSan());
    EXPECT_EQ(db.count("当天代课记录"), 2);
    EXPECT_EQ(db.all("SELECT * FROM 需代课目情况"), "张老师|5|一(1)|2|语文");
    EXPECT_EQ(db.all("SELECT 标记,已代标记 FROM 任课情况 WHERE 节次=2"), "1|NULL");
    // 张老师 is away in period 2 again (first free cell of the column).
    EXPECT_EQ(db.column("SELECT \"2\" FROM 代课教师"), "张老师|NULL");
    EXPECT_EQ(db.all("SELECT \"22\" FROM 代课教师"), "NULL;NULL");
}

TEST_F(ModificationTest, LeavingTurnsMarksSoOnlyQueuedLessonsCanBeChosen) {
    modification::reassign(*db, zhaoSan());
    modification::openQueuedForCover(*db, {"张老师"}, 5);
    // Period 2 queued → open; 4 covered → untouched; 5 not queued → held back.
    EXPECT_EQ(db.all("SELECT 节次,标记,已代标记 FROM 任课情况 WHERE 姓名='张老师' ORDER BY 节次"),
              "2|NULL|NULL;4|1|1;5|1|NULL");
    EXPECT_EQ(db.all("SELECT 标记 FROM 任课情况 WHERE 姓名='李老师'"), "1");
}

TEST_F(ModificationTest, TheQuestionsNameTheLessonAndWhoCoversIt) {
    EXPECT_EQ(modification::withdrawQuestion(zhaoSan()),
              "删除后张老师星期五第2节一(1)语文（赵三代）该节课将无人代课，是否删除？");
    EXPECT_EQ(modification::reassignQuestion(zhaoSan()),
              "重代将取消赵三代张老师星期五第2节一(1)语文的安排，该节课重新等待安排，是否重代？");
}
