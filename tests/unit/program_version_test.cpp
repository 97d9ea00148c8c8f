// The version a file carries, the upgrade of older files, and where the data of an installed
// copy goes.
#include "store/program_version.h"

#include <gtest/gtest.h>

#include <fstream>

#include "store/data_directory.h"
#include "store/layout_check.h"
#include "store/safekeeping.h"
#include "store/schema.h"
#include "store/store.h"
#include "test_support.h"

namespace daike {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// What the program wrote before each later layout: the tables that came after it dropped.
std::string layoutScript(int version) {
    std::string sql = "DROP TABLE 调课记录; DROP TABLE 调课设置; DROP TABLE 已通知调课; ";
    if (version < 6) sql += "DROP TABLE 代课存档; DROP TABLE 代课费标准; DROP TABLE 修改记录; ";
    if (version < 5) sql += "DROP TABLE 程序版本; ";
    if (version < 4) sql += "DROP TABLE 代课规则; ";
    if (version < 3) sql += "DROP TABLE 作息时间; DROP TABLE 已通知代课; ";
    if (version < 2) sql += "DROP TABLE 代课酬金; ";
    return sql + "PRAGMA user_version = " + std::to_string(version) + ";";
}

void writeOldSchool(const fs::path& dir, int version) {
    auto s = Store::open(dir);
    s->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {"王芳"});
    s->exec("INSERT INTO 代课记录 VALUES ('李明','病假','王芳','3',4,'三(2)','语文',2)");
    s->exec("UPDATE 注册码 SET 密码 = ?", {"1234"});
    s->execScript(layoutScript(version));
}

std::vector<fs::path> upgradeBackups(const fs::path& dir) {
    std::vector<fs::path> out;
    for (const auto& b : safekeeping::listBackups(dir))
        if (b.automatic && b.reason == "升级前") out.push_back(b.file);
    return out;
}

TEST(Upgrade, FilesOfLayoutsOneAndTwoOpenWithTheirDataAfterABackupOfTheOldFile) {
    for (int version : {1, 2, 4, 5, 6}) {
        SCOPED_TRACE(version);
        TempDir dir;
        writeOldSchool(dir.path(), version);
        {
            auto s = Store::open(dir.path());
            EXPECT_EQ(s->select("PRAGMA user_version")[0][0].toInt(), schema::kVersion);
            EXPECT_EQ(layoutDifference(*s, schema::kVersion), "");
            EXPECT_EQ(s->select("SELECT 姓名 FROM 教师姓名")[0][0].text(), "王芳");
            EXPECT_EQ(s->select("SELECT count(*) FROM 代课记录")[0][0].toInt(), 1);
            EXPECT_EQ(s->select("SELECT 密码 FROM 注册码")[0][0].text(), "1234");
            EXPECT_EQ(s->recordedProgramVersion(), programVersion());

            const auto backups = upgradeBackups(dir.path());
            ASSERT_EQ(backups.size(), 1u);
            ASSERT_EQ(s->notices().size(), 1u);
            EXPECT_NE(s->notices()[0].find(backups[0].string()), std::string::npos);
            EXPECT_NE(s->notices()[0].find("第 " + std::to_string(version) + " 版"),
                      std::string::npos);
            // The backup is the old file as it was: its layout, its data.
            TempDir look;
            fs::copy_file(backups[0], look.path() / "copy.db");
            EXPECT_EQ(Store::checkCopy(look.path() / "copy.db", "copy"), version);
        }
        // Upgraded once: the next start neither backs up nor says anything.
        auto again = Store::open(dir.path());
        EXPECT_TRUE(again->notices().empty());
        EXPECT_EQ(upgradeBackups(dir.path()).size(), 1u);
    }
}

TEST(Upgrade, ABackupThatCannotBeMadeLeavesTheOldFileAsItWas) {
    TempDir dir;
    writeOldSchool(dir.path(), 2);
    // A file where the backup folder would go: the backup cannot be written.
    std::ofstream(safekeeping::backupFolder(dir.path())) << "x";
    EXPECT_THROW(Store::open(dir.path()), Failure);
    fs::remove(safekeeping::backupFolder(dir.path()));
    TempDir look;
    fs::copy_file(dir.path() / Store::kFileName, look.path() / "copy.db");
    EXPECT_EQ(Store::checkCopy(look.path() / "copy.db", "copy"), 2);
}

TEST(Upgrade, ANewSchoolIsNotBackedUp) {
    TempDir dir;
    auto s = Store::open(dir.path());
    EXPECT_TRUE(s->notices().empty());
    EXPECT_TRUE(safekeeping::listBackups(dir.path()).empty());
}

TEST(ProgramVersion, EveryBackupSaysWhichVersionMadeIt) {
    TempDir dir, elsewhere;
    auto s = Store::open(dir.path());
    EXPECT_EQ(s->recordedProgramVersion(), programVersion());
    s->backupTo(elsewhere.path() / "now.db");
    EXPECT_EQ(
        Store::madeByVersion(safekeeping::prepareRestore(elsewhere.path() / "now.db", dir.path())),
        programVersion());

    // A file last opened by another version carries that version until this one opens it.
    {
        TempDir other;
        Store::open(other.path())->exec("UPDATE 程序版本 SET 版本 = '0.9.0'");
        Store::open(other.path());  // reopened: this version now
        auto o = Store::open(elsewhere.path());
        o->exec("UPDATE 程序版本 SET 版本 = '0.9.0'");
        o->backupTo(elsewhere.path() / "old.db");
    }
    EXPECT_EQ(
        Store::madeByVersion(safekeeping::prepareRestore(elsewhere.path() / "old.db", dir.path())),
        "0.9.0");

    // A backup from before versions were kept says so with an empty version.
    {
        TempDir old;
        writeOldSchool(old.path(), 3);
        fs::copy_file(old.path() / Store::kFileName, elsewhere.path() / "layout3.db");
    }
    EXPECT_EQ(Store::madeByVersion(
                  safekeeping::prepareRestore(elsewhere.path() / "layout3.db", dir.path())),
              "");
}

TEST(ProgramVersion, RestoringAFileRecordsThisVersionInIt) {
    TempDir dir, elsewhere;
    auto s = Store::open(dir.path());
    {
        auto o = Store::open(elsewhere.path());
        o->exec("UPDATE 程序版本 SET 版本 = '0.9.0'");
        o->backupTo(elsewhere.path() / "old.db");
    }
    s->replaceWith(safekeeping::prepareRestore(elsewhere.path() / "old.db", dir.path()));
    EXPECT_EQ(s->recordedProgramVersion(), programVersion());
}

TEST(DataDirectory, AnInstalledCopyKeepsEachUsersSchoolAtHome) {
    TempDir own, user;
    const fs::path home = user.path() / "代课";
    // A folder of its own (scripts/run's daike/, a USB stick): the data beside the program.
    EXPECT_EQ(chooseDataDirectory(own.path(), true, home), own.path());
    // Installed for all users: at home, even for root, who could write there.
    EXPECT_EQ(chooseDataDirectory("/usr/bin", true, home), home);
    EXPECT_EQ(chooseDataDirectory("/usr/local/bin", true, home), home);
    EXPECT_EQ(chooseDataDirectory("/opt/daike", false, home), home);
    // A directory this user cannot write, without a school in it.
    EXPECT_EQ(chooseDataDirectory(own.path(), false, home), home);
    // A school already beside the program stays the school, writable or not.
    std::ofstream(own.path() / Store::kFileName) << "x";
    EXPECT_EQ(chooseDataDirectory(own.path(), false, home), own.path());
}

TEST(DataDirectory, SystemDirectoriesAreTheInstalledSoftwaresOnly) {
    for (const char* d : {"/usr/bin", "/usr/local/bin", "/usr", "/opt/daike/bin", "/bin", "/sbin",
                          "/usr/../usr/bin"})
        EXPECT_TRUE(isSystemDirectory(d)) << d;
    for (const char* d : {"/home/usr/bin", "/usrdata/bin", "/", "usr/bin", "/home/张三/代课",
                          "/media/U盘/daike", "/tmp/opt"})
        EXPECT_FALSE(isSystemDirectory(d)) << d;
}

}  // namespace
}  // namespace daike
