#include "store/store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "store/layout_check.h"
#include "store/schema.h"
#include "store/text.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::Db;
using testing::TempDir;

TEST(StoreOpen, NewDatabaseHasEveryTableAndTheInitialPassword) {
    Db db;
    // The office's seventeen tables, the pay per covered lesson, the periods' times, what the
    // substitutes were told, the rules on cover, the version that last opened the file and
    // the past terms' cover, the pay by kind of period and the log of corrections, the swaps,
    // their settings and what the teachers of the day's swaps were told.
    EXPECT_EQ(db.one("SELECT count(*) FROM sqlite_master WHERE type='table'"), "28");
    EXPECT_EQ(db.one("SELECT 密码 FROM 注册码"), "580417");
    EXPECT_EQ(db.one("SELECT count(*) FROM 开学第一天"), "0");
    EXPECT_EQ(db.one("PRAGMA user_version"), std::to_string(schema::kVersion));
    // Columns in their stored order, as the position readers expect.
    auto columns = [&](const char* query) {
        auto rs = db->dkb(query);
        std::string names;
        for (int i = 0; i < rs.fieldCount(); ++i) names += (i ? ";" : "") + rs.fieldName(i);
        return names;
    };
    EXPECT_EQ(columns("select * from 临时运算表"),
              "姓名;任课情况;本日节数;本日代课;连课情况;总节数;班幅标记");
    EXPECT_EQ(columns("select * from 代课教师"), "1;2;3;4;5;6;11;22;33;44;55;66");
    EXPECT_FALSE(std::filesystem::exists(db.dir.path() / "代课.db.new"));
}

TEST(StoreOpen, FileIsEncryptedAndReopensWithItsData) {
    TempDir dir;
    {
        auto s = Store::open(dir.path());
        s->exec("INSERT INTO 公出表 VALUES (?)", {"张三"});
    }
    std::ifstream in(dir.path() / "代课.db", std::ios::binary);
    std::string head(16, '\0');
    in.read(head.data(), 16);
    EXPECT_NE(head.substr(0, 15), "SQLite format 3");
    auto s = Store::open(dir.path());
    EXPECT_EQ(s->select("SELECT 姓名 FROM 公出表")[0][0].text(), "张三");
}

TEST(StoreOpen, AFileOfLayoutTwoGainsTheTimesAndTheToldCoverAndKeepsItsData) {
    TempDir dir;
    {
        auto s = Store::open(dir.path());
        s->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {"王芳"});
        s->exec("INSERT INTO 当天代课记录 VALUES ('李明','病假','王芳','3',4,'三(2)','语文',2)");
        s->exec("INSERT INTO 代课酬金 VALUES (25)");
        s->exec("UPDATE 注册码 SET 密码 = ?", {"1234"});
        // What a file of the program before the periods' times looked like.
        s->execScript(
            "DROP TABLE 作息时间; DROP TABLE 已通知代课; DROP TABLE 代课规则; DROP TABLE 程序版本; "
            "DROP TABLE 代课存档; DROP TABLE 代课费标准; DROP TABLE 修改记录; DROP TABLE 调课记录; "
            "DROP TABLE 调课设置; DROP TABLE 已通知调课; "
            "PRAGMA user_version "
            "= "
            "2;");
    }
    auto s = Store::open(dir.path());
    EXPECT_EQ(s->select("PRAGMA user_version")[0][0].toInt(), schema::kVersion);
    EXPECT_EQ(layoutDifference(*s, schema::kVersion), "");
    EXPECT_EQ(s->select("SELECT count(*) FROM 作息时间")[0][0].toInt(), 0);
    EXPECT_EQ(s->select("SELECT count(*) FROM 已通知代课")[0][0].toInt(), 0);
    EXPECT_EQ(s->select("SELECT 姓名 FROM 教师姓名")[0][0].text(), "王芳");
    EXPECT_EQ(s->select("SELECT 代者 || 节次 FROM 当天代课记录")[0][0].text(), "王芳2");
    EXPECT_EQ(s->select("SELECT 每节金额 FROM 代课酬金")[0][0].toInt(), 25);
    EXPECT_EQ(s->select("SELECT 密码 FROM 注册码")[0][0].text(), "1234");
    // The new tables take rows like those made new.
    s->exec("INSERT INTO 已通知代课 SELECT * FROM 当天代课记录");
    EXPECT_EQ(s->select("SELECT count(*) FROM 已通知代课")[0][0].toInt(), 1);
}

TEST(StoreOpen, RefusesASecondCopyOnTheSameDirectory) {
    TempDir dir;
    auto first = Store::open(dir.path());
    try {
        Store::open(dir.path());
        FAIL() << "a second copy opened the database";
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::AlreadyRunning);
    }
    first.reset();
    EXPECT_NO_THROW(Store::open(dir.path()));
}

TEST(StoreOpen, RefusesAFileThatIsNotOursAndLeavesItUntouched) {
    TempDir dir;
    const auto file = dir.path() / "代课.db";
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(4096, 'x');
    }
    const auto before = std::filesystem::file_size(file);
    try {
        Store::open(dir.path());
        FAIL() << "a damaged file was opened";
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::NotOurFile);
        EXPECT_NE(std::string(e.what()).find("代课.db"), std::string::npos);
    }
    EXPECT_EQ(std::filesystem::file_size(file), before);
    std::ifstream in(file, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, std::string(4096, 'x'));
}

TEST(StoreOpen, RefusesAMissingOrUnwritableDirectory) {
    TempDir dir;
    EXPECT_THROW(Store::open(dir.path() / "nowhere"), Failure);
    if (::geteuid() != 0) {  // root writes anywhere
        std::filesystem::permissions(
            dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        try {
            Store::open(dir.path());
            FAIL() << "opened in a read-only directory";
        } catch (const Failure& e) {
            EXPECT_EQ(e.kind(), Failure::Kind::NoAccess);
        }
    }
}

TEST(Recordset, WalksInTableOrderAndReadsByNameAndPosition) {
    Db db;
    for (const char* n : {"王五", "张三", "李四"}) db->exec("INSERT INTO 公出表 VALUES (?)", {n});
    auto rs = db->dkb("select * from 公出表");
    EXPECT_EQ(rs.recordCount(), 3);
    std::vector<std::string> seen;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) seen.push_back(rs["姓名"].text() + rs[0].text());
    EXPECT_EQ(seen, (std::vector<std::string>{"王五王五", "张三张三", "李四李四"}));
    EXPECT_TRUE(rs.findName("张三"));
    EXPECT_EQ(rs[0].text(), "张三");
    EXPECT_FALSE(rs.findName("赵六"));
    EXPECT_TRUE(rs.eof());
}

TEST(Recordset, EmptyTableIsAtBothEnds) {
    Db db;
    auto rs = db->dkb("select * from 班级");
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs[0], Failure);
    db->emptyTable("班级");  // emptying an empty table is fine
    EXPECT_EQ(db.one("SELECT count(*) FROM 班级"), "0");
}

TEST(Recordset, ChangesAreWrittenOnlyByUpdate) {
    Db db;
    db->exec("INSERT INTO 代课节数 VALUES ('甲', 1, 5), ('乙', 2, 6)");
    {
        auto rs = db->dkb("select * from 代课节数");
        rs.moveFirst();
        rs.set("当日代课", 9);
        rs.moveNext();
        rs.remove();
        rs.addNew();
        rs.set(0, "丙");
        EXPECT_EQ(db.one("SELECT count(*) FROM 代课节数"), "2");  // nothing written yet
        rs.update();
    }
    // The new row leaves unset columns at their default (Null).
    EXPECT_EQ(db.all("SELECT * FROM 代课节数"), "甲|9|5;丙|NULL|NULL");
}

TEST(Recordset, DeletedRowIsSkippedByLaterMoves) {
    Db db;
    db->execScript(
        "INSERT INTO 班级 VALUES ('一(1)'); INSERT INTO 班级 VALUES ('一(2)');"
        "INSERT INTO 班级 VALUES ('一(3)');");
    auto rs = db->dkb("select * from 班级");
    rs.moveFirst();
    rs.moveNext();
    rs.remove();
    rs.moveFirst();
    rs.moveNext();
    EXPECT_EQ(rs[0].text(), "一(3)");
    EXPECT_EQ(rs.recordCount(), 2);
    rs.update();
    EXPECT_EQ(db.all("SELECT * FROM 班级"), "一(1);一(3)");
}

TEST(Recordset, QuotesInValuesAreData) {
    Db db;
    for (const char* n : {"O'Brien", "王'五", "a\"b", "x'); DROP TABLE 公出表; --"})
        db->exec("INSERT INTO 公出表 VALUES (?)", {n});
    auto rs = db->dkb("select * from 公出表 where 姓名=?", {"王'五"});
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs[0].text(), "王'五");
    EXPECT_TRUE(db->dkb("select * from 公出表").findName("O'Brien"));
    EXPECT_EQ(db.one("SELECT count(*) FROM 公出表"), "4");
}

TEST(Recordset, OnlySelectAllQueriesOfKnownTables) {
    Db db;
    EXPECT_THROW(db->dkb("delete from 公出表"), Failure);
    EXPECT_THROW(db->dkb("select * from 不存在的表"), Failure);
    EXPECT_THROW(db->dkb("select * from 公出表 where 姓名=?"), Failure);  // value missing
}

TEST(Ordering, DescendingPutsNullAfterEveryValueAndTiesKeepTableOrder) {
    Db db;
    db->execScript(
        "INSERT INTO 临时运算表 (姓名, 班幅标记) VALUES ('无', NULL);"
        "INSERT INTO 临时运算表 (姓名, 班幅标记) VALUES ('科任甲', 1);"
        "INSERT INTO 临时运算表 (姓名, 班幅标记) VALUES ('班主任', 2);"
        "INSERT INTO 临时运算表 (姓名, 班幅标记) VALUES ('科任乙', 1);");
    auto rs = db->dkb("select * from 临时运算表 order by 班幅标记 desc");
    std::string order;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) order += rs[0].text() + " ";
    EXPECT_EQ(order, "班主任 科任甲 科任乙 无 ");
}

TEST(Ordering, ChineseColumnsSortByPinyin) {
    Db db;
    for (const char* n : {"张三", "李四", "王五", "安娜"})
        db->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {n});
    auto rs = db->dkb("select * from 教师姓名 order by 姓名 asc");
    std::string order;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) order += rs[0].text() + " ";
    EXPECT_EQ(order, "安娜 李四 王五 张三 ");
    // Equality stays exact under the Chinese ordering.
    EXPECT_EQ(db.one("SELECT count(*) FROM 教师姓名 WHERE 姓名 = '张三'"), "1");
}

TEST(Transactions, AFailurePartWayLeavesNothingWritten) {
    Db db;
    db->exec("INSERT INTO 公出表 VALUES ('甲')");
    EXPECT_THROW(db->transaction([&] {
        db->emptyTable("公出表");
        db->exec("INSERT INTO 班级 VALUES ('一(1)')");
        db->exec("INSERT INTO 没有这张表 VALUES (1)");
    }),
                 Failure);
    EXPECT_EQ(db.all("SELECT * FROM 公出表"), "甲");
    EXPECT_EQ(db.one("SELECT count(*) FROM 班级"), "0");
    EXPECT_FALSE(db->inTransaction());
}

TEST(Transactions, AFailedNestedStepRollsBackOnlyItself) {
    Db db;
    db->transaction([&] {
        db->exec("INSERT INTO 班级 VALUES ('一(1)')");
        try {
            db->transaction([&] {
                db->exec("INSERT INTO 班级 VALUES ('一(2)')");
                throw std::runtime_error("stop");
            });
        } catch (const std::runtime_error&) {
        }
    });
    EXPECT_EQ(db.all("SELECT * FROM 班级"), "一(1)");
}

TEST(Packing, PutFirstFreeFillsTheFirstNullCellOrAppends) {
    Db db;
    db->putFirstFree("代课教师", "2", "甲");
    db->putFirstFree("代课教师", "3", "乙");  // same first row, another column
    db->putFirstFree("代课教师", "2", "丙");  // column 2 taken in row 1: a new row
    EXPECT_EQ(db.all("SELECT \"2\", \"3\" FROM 代课教师 ORDER BY rowid"), "甲|乙;丙|NULL");
    db->exec("INSERT INTO 开设课程 (课程, 一年级) VALUES ('语文', '')");
    db->putFirstFree("开设课程", "一年级", "数学", true);  // "" counts as free there
    EXPECT_EQ(db.one("SELECT 一年级 FROM 开设课程"), "数学");
}

TEST(Packing, RemovePackedMovesLaterCellsAndTheirFlagsUp) {
    Db db;
    db->execScript(
        "INSERT INTO 代课教师 (\"1\", \"11\", \"2\") VALUES ('甲', NULL, 'x');"
        "INSERT INTO 代课教师 (\"1\", \"11\", \"2\") VALUES ('乙', '1', 'y');"
        "INSERT INTO 代课教师 (\"1\", \"11\", \"2\") VALUES ('丙', NULL, 'z');");
    EXPECT_TRUE(db->removePacked("代课教师", "1", "甲", {"11"}));
    EXPECT_EQ(db.all("SELECT \"1\", \"11\", \"2\" FROM 代课教师 ORDER BY rowid"),
              "乙|1|x;丙|NULL|y;NULL|NULL|z");
    EXPECT_FALSE(db->removePacked("代课教师", "1", "丁", {"11"}));
}

TEST(Text, CountsCharactersNotBytes) {
    EXPECT_EQ(text::length("一(1),二(3)"), 9u);
    EXPECT_EQ(text::mid("一(1),二(3)", 6, 4), "二(3)");
    EXPECT_EQ(text::mid("一(1),二(", 6, 4), "二(");
    EXPECT_EQ(text::mid("一(1)", 11, 4), "");
}

TEST(ValueText, NumbersReadAndShowAsTheFormsDid) {
    EXPECT_EQ(Value(3.0).text(), "3");
    EXPECT_EQ(Value(2.5).text(), "2.5");
    EXPECT_EQ(Value().text(), "");
    EXPECT_EQ(Value("12abc").toInt(), 12);
    EXPECT_EQ(Value("  7").toInt(), 7);
    EXPECT_EQ(Value("abc").toInt(), 0);
    EXPECT_TRUE(Value(3) == Value(3.0));
    EXPECT_FALSE(Value("3") == Value(3));
}

}  // namespace
}  // namespace daike

TEST(Recordset, ColumnReadersAndTheRowWalkSkipDeletedRows) {
    daike::testing::Db db;
    db->execScript("INSERT INTO 班级 VALUES ('一(1)'),('一(2)'),(NULL),('一(3)');");
    auto rs = db->dkb("select * from 班级");
    rs.moveFirst();
    rs.moveNext();
    rs.remove();  // 一(2), not yet written
    EXPECT_EQ(rs.columnText(0), (std::vector<std::string>{"一(1)", "", "一(3)"}));
    EXPECT_TRUE(rs.column(0)[1].isNull());
    std::vector<std::string> walked;
    for (auto& row : rs) {
        walked.push_back(row[0].text());
        if (row[0].isNull()) row.set(0, "二(1)");
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"一(1)", "", "一(3)"}));
    EXPECT_TRUE(rs.eof());
    rs.update();
    EXPECT_EQ(db->dkb("select * from 班级").columnText(0),
              (std::vector<std::string>{"一(1)", "二(1)", "一(3)"}));
}
