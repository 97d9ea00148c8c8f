// The school's file against the ways an office PC loses data: logs left by a crash beside a
// restored or foreign file, a log without its file, damage inside the file, an empty file, a
// directory that cannot be written; and the backups that undo all of it.
#include "store/safekeeping.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "store/store.h"
#include "test_support.h"

namespace daike {
namespace {

namespace fs = std::filesystem;
using testing::bytesOf;
using testing::TempDir;
using testing::writeBytes;

long long count(Store& s, const std::string& table) {
    return s.select("SELECT count(*) FROM \"" + table + "\"")[0][0].toInt();
}

// Appends cover records 0..n-1 of a term (the records' own columns only).
void addRecords(Store& s, int from, int n) {
    s.transaction([&] {
        for (int i = from; i < from + n; ++i) {
            s.exec(
                "INSERT INTO 代课记录 (被代, 性质, 代者, 周次, 星期, 班级, 课目, 节次) "
                "VALUES (?, '病假', ?, '3', 2, '一(1)', '语文', 1)",
                {"教师" + std::to_string(i), "代者" + std::to_string(i)});
        }
    });
}

// The files a run leaves when it is killed: the database and its log as they stand while the
// connection still holds them.
void copyCrashedRun(const fs::path& from, const fs::path& to, bool withFile) {
    if (withFile) fs::copy_file(from / Store::kFileName, to / Store::kFileName);
    fs::copy_file(from / "代课.db-wal", to / "代课.db-wal");
}

std::vector<fs::path> asideFolders(const fs::path& dir) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (auto& e : fs::directory_iterator(dir / "备份", ec))
        if (e.is_directory() && e.path().filename().string().rfind("保留-", 0) == 0)
            out.push_back(e.path());
    return out;
}

bool mentions(const std::vector<std::string>& notices, const std::string& what) {
    for (const auto& n : notices)
        if (n.find(what) != std::string::npos) return true;
    return false;
}

TEST(InterruptedRun, ItsLogIsAppliedWhenItBelongsToTheFile) {
    TempDir live, crashed;
    {
        auto s = Store::open(live.path());
        addRecords(*s, 0, 5);
        copyCrashedRun(live.path(), crashed.path(), true);
    }
    auto s = Store::open(crashed.path());
    EXPECT_EQ(count(*s, "代课记录"), 5);
    EXPECT_TRUE(s->notices().empty());
    // Nothing to keep once every change is in the file.
    EXPECT_TRUE(asideFolders(crashed.path()).empty());
}

TEST(InterruptedRun, AStaleLogBesideARestoredCopyIsNotApplied) {
    TempDir dir, restored;
    {
        auto s = Store::open(dir.path());
        addRecords(*s, 0, 20);
    }
    const std::string yesterday = bytesOf(dir.path() / Store::kFileName);  // the copy kept
    {
        auto s = Store::open(dir.path());
        addRecords(*s, 20, 3000);  // days of work, folded into the file at close
    }
    {
        auto s = Store::open(dir.path());
        addRecords(*s, 3020, 5);
        copyCrashedRun(dir.path(), restored.path(), false);  // the crash leaves this log
    }
    writeBytes(restored.path() / Store::kFileName, yesterday);  // the operator copies back

    {
        auto s = Store::open(restored.path());
        EXPECT_TRUE(mentions(s->notices(), "不符")) << "the operator was not told";
        EXPECT_EQ(count(*s, "代课记录"), 20);  // yesterday's data, whole
        const auto aside = asideFolders(restored.path());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_TRUE(mentions(s->notices(), aside[0].string()));
        EXPECT_EQ(bytesOf(aside[0] / Store::kFileName), yesterday);
        EXPECT_TRUE(fs::exists(aside[0] / "代课.db-wal"));
        addRecords(*s, 9000, 1);  // the first cover after the restore works
    }
    // And the restored file is still sound after the run closes.
    auto s = Store::open(restored.path());
    EXPECT_EQ(count(*s, "代课记录"), 21);
    EXPECT_TRUE(s->notices().empty());
}

TEST(InterruptedRun, ALogOfAnotherDatabaseLeavesTheFileAsItWas) {
    TempDir good, other, mixed;
    {
        auto s = Store::open(good.path());
        addRecords(*s, 0, 7);
    }
    {
        auto s = Store::open(other.path());
        addRecords(*s, 0, 50);
        copyCrashedRun(other.path(), mixed.path(), false);
    }
    const std::string before = bytesOf(good.path() / Store::kFileName);
    writeBytes(mixed.path() / Store::kFileName, before);
    {
        auto s = Store::open(mixed.path());
        EXPECT_TRUE(mentions(s->notices(), "不符"));
        EXPECT_EQ(bytesOf(mixed.path() / Store::kFileName), before);
        EXPECT_EQ(count(*s, "代课记录"), 7);
    }
    EXPECT_FALSE(fs::exists(mixed.path() / "代课.db-wal"));
    auto s = Store::open(mixed.path());
    EXPECT_EQ(count(*s, "代课记录"), 7);
    EXPECT_TRUE(s->notices().empty());
}

TEST(InterruptedRun, ALogWithoutItsFileIsMovedAsideNotReplayed) {
    TempDir crashed, fresh;
    {
        auto s = Store::open(crashed.path());
        addRecords(*s, 0, 5);
        copyCrashedRun(crashed.path(), fresh.path(), false);
    }
    const std::string log = bytesOf(fresh.path() / "代课.db-wal");
    {
        auto s = Store::open(fresh.path());
        EXPECT_EQ(count(*s, "代课记录"), 0);  // a new, empty school
        EXPECT_EQ(s->select("SELECT 密码 FROM 注册码")[0][0].text(), "580417");
        EXPECT_TRUE(mentions(s->notices(), "已不存在"));
        const auto aside = asideFolders(fresh.path());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(bytesOf(aside[0] / "代课.db-wal"), log);
    }
    // Every later start is an ordinary one.
    auto s = Store::open(fresh.path());
    EXPECT_TRUE(s->notices().empty());
}

TEST(DamagedFile, FlippedBytesInATablePageAreFoundAtStartAndTheFileKept) {
    TempDir dir;
    {
        auto s = Store::open(dir.path());
        addRecords(*s, 0, 400);
    }
    const auto file = dir.path() / Store::kFileName;
    std::string bytes = bytesOf(file);
    ASSERT_GT(bytes.size(), 20u * 1024);
    // A page in the middle of the records, a few bytes inside it.
    const std::size_t at = (bytes.size() / 1024 / 2) * 1024 + 300;
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(~bytes[at + i]);
    writeBytes(file, bytes);
    try {
        Store::open(dir.path());
        FAIL() << "a damaged file was opened";
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::NotOurFile);
        EXPECT_NE(std::string(e.what()).find("已损坏"), std::string::npos) << e.what();
    }
    EXPECT_EQ(bytesOf(file), bytes);
}

TEST(DamagedFile, AZeroLengthFileIsNotTakenForANewSchool) {
    TempDir dir;
    writeBytes(dir.path() / Store::kFileName, "");
    try {
        Store::open(dir.path());
        FAIL() << "an empty file was opened";
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::EmptyFile);
        EXPECT_NE(std::string(e.what()).find("0 字节"), std::string::npos);
    }
    EXPECT_EQ(fs::file_size(dir.path() / Store::kFileName), 0u);
}

TEST(Permissions, AReadOnlyDirectoryWithItsLockIsNamedAsSuch) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root, who may write into any directory; "
                        "Permissions.MessagesNameTheRealCause checks the messages instead";
    }
    TempDir dir;
    Store::open(dir.path()).reset();  // leaves 代课.db and 代课.lock
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    try {
        Store::open(dir.path());
        FAIL() << "opened in a read-only directory";
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::NoAccess);
        const std::string m = e.what();
        EXPECT_NE(m.find("只读"), std::string::npos) << m;
        EXPECT_EQ(m.find("损坏"), std::string::npos) << m;
    }
}

TEST(Permissions, MessagesNameTheRealCause) {
    AccessFacts readOnly;
    readOnly.directory = "/srv/代课";
    readOnly.directoryWritable = false;
    readOnly.lockExists = true;
    readOnly.systemError = EACCES;
    const auto a = describeAccessProblem(readOnly);
    EXPECT_NE(a.find("“/srv/代课”是只读的"), std::string::npos) << a;
    EXPECT_NE(a.find("--data"), std::string::npos) << a;

    AccessFacts foreignLock = readOnly;
    foreignLock.directoryWritable = true;
    foreignLock.lockOfAnotherAccount = true;
    foreignLock.lockOwner = 1001;
    const auto b = describeAccessProblem(foreignLock);
    EXPECT_NE(b.find("另一个用户账户"), std::string::npos) << b;
    EXPECT_NE(b.find("删除这个锁文件"), std::string::npos) << b;
    EXPECT_EQ(b.find("只读"), std::string::npos) << b;

    // Database errors: what happened and what to do, SQLite's text last, in brackets.
    const auto full = describeDatabaseError(13 /* SQLITE_FULL */, "database or disk is full");
    EXPECT_EQ(full.rfind("磁盘已满", 0), 0u);
    EXPECT_NE(full.find("（database or disk is full）"), std::string::npos);
    EXPECT_NE(describeDatabaseError(11 /* SQLITE_CORRUPT */, "").find("从最近的备份恢复"),
              std::string::npos);
}

TEST(Backup, IsAConsistentEncryptedCopyThatRestoresInOneSwap) {
    TempDir dir;
    auto s = Store::open(dir.path());
    addRecords(*s, 0, 10);
    const auto dest = safekeeping::operatorBackupPath(dir.path(), {2024, 3, 20, 8, 15, 0});
    EXPECT_EQ(dest.filename().string(), "代课-20240320-081500.db");
    s->backupTo(dest);
    EXPECT_FALSE(fs::exists(dest.string() + "-wal"));
    EXPECT_NE(bytesOf(dest).substr(0, 15), "SQLite format 3");
    addRecords(*s, 10, 5);  // work after the backup

    // Answering 否 after the check changes nothing: only the checked copy is made.
    const auto checked = safekeeping::prepareRestore(dest, dir.path());
    EXPECT_EQ(count(*s, "代课记录"), 15);
    s->replaceWith(checked);
    EXPECT_FALSE(fs::exists(checked));
    EXPECT_EQ(count(*s, "代课记录"), 10);
    addRecords(*s, 100, 1);  // the restored file takes cover again
    s.reset();
    EXPECT_EQ(count(*Store::open(dir.path()), "代课记录"), 11);
}

TEST(Backup, RestoreRefusesNewerLayoutsDamagedAndForeignFiles) {
    TempDir dir, elsewhere;
    auto s = Store::open(dir.path());
    addRecords(*s, 0, 3);
    const auto newer = elsewhere.path() / "newer.db";
    s->backupTo(newer);
    {
        // A backup written by a later release of the program.
        fs::create_directories(elsewhere.path() / "n");
        fs::copy_file(newer, elsewhere.path() / "n" / Store::kFileName);
        auto n = Store::open(elsewhere.path() / "n");
        n->exec("PRAGMA user_version = 99");
    }
    auto expectRefused = [&](const fs::path& file, Failure::Kind kind, const char* words) {
        try {
            safekeeping::prepareRestore(file, dir.path());
            ADD_FAILURE() << file << " was accepted";
        } catch (const Failure& e) {
            EXPECT_EQ(e.kind(), kind) << e.what();
            EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(dir.path() / "代课.db.restore"));
        EXPECT_EQ(count(*s, "代课记录"), 3);
    };
    expectRefused(elsewhere.path() / "n" / Store::kFileName, Failure::Kind::NewerVersion,
                  "更新版本");
    writeBytes(elsewhere.path() / "text.db", std::string(8192, 'x'));
    expectRefused(elsewhere.path() / "text.db", Failure::Kind::NotOurFile, "不是代课程序的数据库");
    writeBytes(elsewhere.path() / "empty.db", "");
    expectRefused(elsewhere.path() / "empty.db", Failure::Kind::NotOurFile, "0 字节");
    expectRefused(dir.path() / Store::kFileName, Failure::Kind::Usage, "正在使用");
}

// A backup of the school, changed afterwards by a script run on it outside the program.
fs::path craftedBackup(Store& s, const fs::path& elsewhere, const std::string& name,
                       const std::string& script) {
    const auto folder = elsewhere / name;
    fs::create_directories(folder);
    s.backupTo(folder / Store::kFileName);
    Store::open(folder)->execScript(script);
    return folder / Store::kFileName;
}

TEST(Restore, TakesNoFileWhoseLayoutDiffersAndSaysWhere) {
    TempDir dir, elsewhere;
    auto s = Store::open(dir.path());
    addRecords(*s, 0, 3);
    const struct {
        const char* name;
        const char* script;
        const char* said;
    } cases[] = {
        {"trigger",
         "CREATE TRIGGER 清空 AFTER INSERT ON 代课记录 BEGIN DELETE FROM 教师姓名; "
         "DELETE FROM 任课情况; END;",
         "多出触发器“清空”（属于表“代课记录”）"},
        {"view", "CREATE VIEW 名单 AS SELECT 姓名 FROM 教师姓名;", "多出视图“名单”"},
        {"index", "CREATE INDEX 姓名索引 ON 教师姓名 (姓名);", "多出索引“姓名索引”"},
        {"table", "CREATE TABLE 别的 (x);", "多出表“别的”"},
        {"dropped column",
         "DROP TABLE 代课记录; CREATE TABLE 代课记录 (被代 TEXT, 性质 TEXT, 代者 TEXT, 周次 TEXT, "
         "星期 NUMERIC, 班级 TEXT, 节次 INTEGER);",
         "表“代课记录”缺少列“课目”"},
        {"added column", "ALTER TABLE 公出表 ADD COLUMN 备注 TEXT;", "表“公出表”多出列“备注”"},
        {"swapped columns",
         "DROP TABLE 任课情况; CREATE TABLE 任课情况 (姓名 TEXT, 节次 INTEGER, 班级 TEXT, "
         "星期 INTEGER, 课目 TEXT, 标记 NUMERIC, 已代标记 NUMERIC);"
         "CREATE INDEX 任课情况_教师 ON 任课情况 (姓名, 星期, 节次);"
         "CREATE INDEX 任课情况_时段 ON 任课情况 (星期, 节次);",
         "表“任课情况”的列顺序不同：第 2 列应为“星期”，文件中是“节次”"},
        {"retyped column", "DROP TABLE 开学第一天; CREATE TABLE 开学第一天 (\"日期\" INTEGER);",
         "表“开学第一天”的列“日期”类型是“INTEGER”，应为“TEXT”"},
        {"constraint",
         "DROP TABLE 班级; CREATE TABLE 班级 (\"班级\" TEXT CHECK (length(班级) > 90));",
         "表“班级”的定义"},
        {"missing index", "DROP INDEX 任课情况_时段;", "缺少索引“任课情况_时段”"},
        {"missing table", "DROP TABLE 可代教师;", "缺少表“可代教师”"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = craftedBackup(*s, elsewhere.path(), c.name, c.script);
        const std::string chosen = bytesOf(file);
        try {
            safekeeping::prepareRestore(file, dir.path());
            ADD_FAILURE() << "accepted";
        } catch (const Failure& e) {
            EXPECT_EQ(e.kind(), Failure::Kind::NotOurFile);
            EXPECT_NE(std::string(e.what()).find("数据结构与本程序的不同"), std::string::npos)
                << e.what();
            EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(dir.path() / "代课.db.restore"));
        EXPECT_TRUE(bytesOf(file) == chosen) << "the chosen file was changed";
    }
    s.reset();
    EXPECT_EQ(count(*Store::open(dir.path()), "代课记录"), 3);
}

TEST(Restore, ABackupOfLayoutOneIsUpgradedInItsCopy) {
    TempDir dir, elsewhere;
    auto s = Store::open(dir.path());
    addRecords(*s, 0, 4);
    const auto file =
        craftedBackup(*s, elsewhere.path(), "one",
                      "DROP TABLE 代课酬金; DROP TABLE 作息时间; DROP TABLE "
                      "已通知代课; DROP TABLE 代课规则; DROP TABLE 程序版本; DROP TABLE 代课存档; "
                      "DROP TABLE 代课费标准; DROP TABLE 修改记录; DROP TABLE 调课记录; DROP TABLE "
                      "调课设置; DROP TABLE 已通知调课; PRAGMA user_version = 1;");
    const std::string chosen = bytesOf(file);
    addRecords(*s, 4, 2);

    const auto checked = safekeeping::prepareRestore(file, dir.path());
    EXPECT_TRUE(bytesOf(file) == chosen) << "the chosen file was changed";
    s->replaceWith(checked);
    EXPECT_EQ(count(*s, "代课记录"), 4);
    EXPECT_EQ(s->select("PRAGMA user_version")[0][0].toInt(), schema::kVersion);
    EXPECT_EQ(count(*s, "代课酬金"), 0);
    addRecords(*s, 10, 1);
    EXPECT_EQ(count(*s, "代课记录"), 5);

    // The same file with a trigger added is still refused: an old layout is no way around the
    // check.
    const auto hostile = craftedBackup(
        *s, elsewhere.path(), "one-trigger",
        "DROP TABLE 代课酬金; DROP TABLE 作息时间; DROP TABLE 已通知代课; DROP TABLE "
        "代课规则; DROP TABLE 程序版本; DROP TABLE 代课存档; DROP TABLE 代课费标准; "
        "DROP TABLE 修改记录; DROP TABLE 调课记录; DROP TABLE 调课设置; DROP TABLE 已通知调课; "
        "PRAGMA user_version = 1; "
        "CREATE TRIGGER t AFTER INSERT ON 代课记录 BEGIN DELETE FROM 教师姓名; END;");
    EXPECT_THROW(safekeeping::prepareRestore(hostile, dir.path()), Failure);
}

TEST(Backup, AutomaticOnesAreNamedApartAndOnlyTheLastThirtyKept) {
    TempDir dir;
    auto s = Store::open(dir.path());
    const auto folder = safekeeping::backupFolder(dir.path());
    fs::create_directories(folder);
    for (int d = 1; d <= 31; ++d) {
        char name[64];
        std::snprintf(name, sizeof name, "自动-202401%02d-080000-每日.db", d);
        writeBytes(folder / name, "x");
    }
    writeBytes(folder / "代课-20200101-080000.db", "mine");  // the operator's own, the oldest
    writeBytes(folder / "学期末.db", "mine too");
    const auto made = safekeeping::automaticBackup(*s, "所有数据清空前", {2024, 3, 20, 9, 0, 0});
    EXPECT_EQ(made.filename().string(), "自动-20240320-090000-所有数据清空前.db");
    const auto all = safekeeping::listBackups(dir.path());
    std::size_t automatic = 0;
    for (const auto& b : all) automatic += b.automatic;
    EXPECT_EQ(automatic, safekeeping::kAutomaticKept);
    EXPECT_TRUE(fs::exists(folder / "代课-20200101-080000.db"));
    EXPECT_TRUE(fs::exists(folder / "学期末.db"));
    // Newest first; a file not named by the program goes by its own time.
    const auto newest = std::find_if(all.begin(), all.end(), [](auto& b) { return b.automatic; });
    ASSERT_NE(newest, all.end());
    EXPECT_EQ(newest->file, made);
    EXPECT_EQ(newest->reason, "所有数据清空前");
    const std::string shown = "2024-03-20 09:00:00  自动备份（所有数据清空前）";
    EXPECT_EQ(safekeeping::describe(*newest).substr(0, shown.size()), shown);
    // The daily backup is made once a day.
    EXPECT_FALSE(safekeeping::hasDailyBackup(dir.path(), {2024, 3, 20, 9, 0, 0}));
    safekeeping::automaticBackup(*s, safekeeping::kDaily, {2024, 3, 20, 9, 0, 0});
    EXPECT_TRUE(safekeeping::hasDailyBackup(dir.path(), {2024, 3, 20, 17, 0, 0}));
    EXPECT_FALSE(safekeeping::hasDailyBackup(dir.path(), {2024, 3, 21, 8, 0, 0}));
}

}  // namespace
}  // namespace daike
