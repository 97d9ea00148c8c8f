// Chinese names and blanks in every path the program makes or is given: the data directory, the
// backups, a restore, the teachers' documents, a spreadsheet and the exports, and the helpers
// that turn texts into paths and back (store/paths.h) and the system's side (store/os_files.h).
#include "store/paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>

#include "basedata/sheet_import.h"
#include "basedata/timetable_documents.h"
#include "basedata/timetable_export.h"
#include "basedata/timetable_import.h"
#include "documents/docx.h"
#include "documents/notice_template.h"
#include "documents/spreadsheet.h"
#include "statistics/exports.h"
#include "store/failure.h"
#include "store/os_files.h"
#include "store/safe_file.h"
#include "store/safekeeping.h"
#include "store/store.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "test_support.h"

namespace daike {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// ---- the helpers ----------------------------------------------------------------------------

TEST(PathText, ChineseBlanksAndFullWidthBracketsComeBackByteForByte) {
    for (const std::string name : {"代课.db", "学校 数据/二〇二六 秋", "张 三（一）.docx",
                                   "备份/自动-20260901-080000-每日.db", " 前后有空格 ", "a.b c"}) {
        SCOPED_TRACE(name);
        const fs::path p = pathFromUtf8(name);
        EXPECT_EQ(utf8(p), name);
        // The same path a UTF-8 literal makes, on any system.
        EXPECT_EQ(p, fs::path(std::u8string(name.begin(), name.end())));
    }
}

TEST(PathText, PartsOfAPathAreReadAsUtf8) {
    const fs::path dir = pathFromUtf8("学校 数据/二〇二六 秋");
    const fs::path doc = inFolder(dir, "任课表/张 三（一）.docx");
    EXPECT_EQ(utf8(doc), "学校 数据/二〇二六 秋/任课表/张 三（一）.docx");
    EXPECT_EQ(fileNameText(doc), "张 三（一）.docx");
    EXPECT_EQ(stemText(doc), "张 三（一）");
    EXPECT_EQ(utf8(doc.parent_path().filename()), "任课表");
    EXPECT_EQ(utf8(withSuffix(inFolder(dir, "代课.db"), "-wal")), utf8(dir) + "/代课.db-wal");
    // A suffix makes a longer name, not a new part of the path.
    EXPECT_EQ(withSuffix(doc, ".part").parent_path(), doc.parent_path());
    EXPECT_EQ(utf8(fs::path()), "");
    EXPECT_EQ(pathFromUtf8(""), fs::path());
}

// ---- the program in a directory of Chinese names --------------------------------------------

class ChineseDirectory : public ::testing::Test {
  protected:
    TempDir temp;
    fs::path dir = inFolder(temp.path(), "学校 数据/二〇二六 秋");

    void SetUp() override { fs::create_directories(dir); }

    static std::vector<std::string> namesIn(const fs::path& folder) {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(folder)) out.push_back(fileNameText(e.path()));
        std::sort(out.begin(), out.end());
        return out;
    }
    static std::string messageOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(ChineseDirectory, TheStoreOpensItsFileThereAndASecondCopyIsRefused) {
    auto store = Store::open(dir);
    EXPECT_EQ(store->file(), inFolder(dir, "代课.db"));
    EXPECT_EQ(store->directory(), dir);
    const auto names = namesIn(dir);
    EXPECT_NE(std::find(names.begin(), names.end(), "代课.db"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "代课.lock"), names.end());
    try {
        Store::open(dir);
        ADD_FAILURE() << "a second copy opened the same directory";
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::AlreadyRunning);
    }
    store.reset();
    EXPECT_NO_THROW(Store::open(dir));  // the lock went with the first store
}

TEST_F(ChineseDirectory, MessagesNameTheDirectoryAsTyped) {
    const auto missing = inFolder(dir, "没有 这个（目录）");
    EXPECT_NE(messageOf([&] { Store::open(missing); }).find("“" + utf8(missing) + "”"),
              std::string::npos);
    std::ofstream(inFolder(dir, "代课.db"));  // an empty file
    EXPECT_NE(messageOf([&] { Store::open(dir); }).find("“" + utf8(dir) + "/代课.db”"),
              std::string::npos);
}

TEST_F(ChineseDirectory, BackupsAreListedByTheirChineseNamesAndRestoreTheData) {
    auto store = Store::open(dir);
    teachers::add(*store, "张 三");
    const auto automatic =
        safekeeping::automaticBackup(*store, "课务导入前", {2026, 9, 1, 8, 0, 0});
    const auto mine = safekeeping::operatorBackupPath(dir, {2026, 9, 1, 8, 5, 0});
    store->backupTo(mine);
    EXPECT_EQ(namesIn(safekeeping::backupFolder(dir)),
              (std::vector<std::string>{"代课-20260901-080500.db",
                                        "自动-20260901-080000-课务导入前.db"}));
    const auto listed = safekeeping::listBackups(dir);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].file, mine);
    EXPECT_EQ(listed[1].file, automatic);
    EXPECT_EQ(listed[1].reason, "课务导入前");
    EXPECT_EQ(utf8(listed[1].file.parent_path()), utf8(dir) + "/备份");

    teachers::replaceAll(*store, {});
    const auto checked = safekeeping::prepareRestore(automatic, dir);
    EXPECT_EQ(fileNameText(checked), "代课.db.restore");
    store->replaceWith(checked);
    EXPECT_EQ(teachers::names(*store), std::vector<std::string>{"张 三"});

    // A restore from a file that is not there names it whole.
    const auto gone = inFolder(dir, "备份/旧 备份（一）.db");
    EXPECT_EQ(messageOf([&] { safekeeping::prepareRestore(gone, dir); }),
              "找不到文件“" + utf8(gone) + "”，没有恢复任何数据。");
}

TEST_F(ChineseDirectory, AnInterruptedRunIsKeptAsideUnderTheBackupFolder) {
    Store::open(dir).reset();
    std::ofstream(inFolder(dir, "代课.db-wal")) << "a log that belongs to nothing";
    fs::remove(inFolder(dir, "代课.db"));
    auto store = Store::open(dir);
    ASSERT_EQ(store->notices().size(), 1u);
    EXPECT_NE(store->notices()[0].find("已移到“" + utf8(dir) + "/备份/保留-"), std::string::npos);
}

TEST_F(ChineseDirectory, TeachersDocumentsAreReadAndNamedWithTheirBlanks) {
    auto store = Store::open(dir);
    for (const char* name : {"张 三", "李 四（代）"}) teachers::add(*store, name);
    const auto folder = inFolder(dir, timetable_import::kDocumentFolder);
    // The export writes 任课表/<name>.docx, which the import reads back.
    timetable::add(*store, TimetableRow{0, "张 三", 2, "一(1)", 3, "语文"});
    ASSERT_EQ(timetable_import::exportTimetableDocuments(*store, dir), 2);
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"张 三.docx", "李 四（代）.docx"}));
    fs::remove(inFolder(folder, "李 四（代）.docx"));

    timetable_import::FolderDocuments docs(folder, timetable_import::importTeachers(*store));
    const auto plan = timetable_import::readDocuments(*store, {5, 3, 6}, docs);
    ASSERT_FALSE(plan);
    EXPECT_EQ(plan.refusal().message.rfind(utf8(folder) + "/李 四（代）.docx找不到该文件！", 0), 0u)
        << plan.refusal().message;

    TeacherRow kept;
    kept.name = "张 三";
    teachers::replaceAll(*store, {kept});
    timetable_import::FolderDocuments again(folder, timetable_import::importTeachers(*store));
    const auto read = timetable_import::readDocuments(*store, {5, 3, 6}, again);
    ASSERT_TRUE(read) << read.refusal().message;
    ASSERT_EQ(read->rows.size(), 1u);
    EXPECT_EQ(read->rows[0].teacher, "张 三");
}

TEST_F(ChineseDirectory, TheTimetableWorkbookIsWrittenAndReadBackThere) {
    auto store = Store::open(dir);
    teachers::add(*store, "张 三");
    timetable::add(*store, TimetableRow{0, "张 三", 2, "一(1)", 3, "语文"});
    const auto file = inFolder(dir, "总 课表.xlsx");
    timetable_export::write(*store, file);
    const auto names = namesIn(dir);
    EXPECT_NE(std::find(names.begin(), names.end(), "总 课表.xlsx"), names.end());
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const std::string& n) { return n.ends_with(".tmp"); }),
              0);

    const auto loaded = sheet_import::load(file);
    EXPECT_EQ(loaded.file, file);
    const auto preview = sheet_import::check(loaded, std::nullopt, sheet_import::schoolOf(*store));
    ASSERT_TRUE(preview);
    const auto plan = sheet_import::planOf(*store, *preview, false);
    EXPECT_NE(sheet_import::details(loaded, *preview, plan).find("文件：" + utf8(file) + "\n"),
              std::string::npos);
    // A file that is not there is named as given.
    const auto gone = inFolder(dir, "没有的 课表（二）.xlsx");
    EXPECT_NE(messageOf([&] { sheet_import::load(gone); }).find(utf8(gone)), std::string::npos);
}

TEST_F(ChineseDirectory, AStatisticsWorkbookAndCsvGoThereUnderTheirDefaultNames) {
    const auto file = statistics::defaultFile(dir, statistics::Range::weeks(3, 5), "xlsx");
    EXPECT_EQ(fileNameText(file), "代课统计-第3至5周.xlsx");
    statistics::Table t;
    t.title = "代课统计";
    t.headers = {"教师", "代课节数"};
    t.rows.push_back({{statistics::Cell::of("张 三"), statistics::Cell{"2", 2.0, 0}}});
    statistics::writeXlsx(file, {t}, "代课统计（第3至5周）");
    const auto book = spreadsheet::read(file);
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].name, "代课统计");
    EXPECT_EQ(book.sheets[0].at(1, 0), "张 三");

    const auto csv = statistics::defaultFile(dir, statistics::Range::weeks(3, 5), "csv");
    statistics::writeFile(csv, statistics::toCsv(t));
    EXPECT_EQ(spreadsheet::read(csv).sheets.at(0).name, "代课统计-第3至5周");
    EXPECT_EQ(namesIn(dir),
              (std::vector<std::string>{"代课统计-第3至5周.csv", "代课统计-第3至5周.xlsx"}));
}

TEST_F(ChineseDirectory, AFailedSaveNamesTheTargetAndLeavesNothingBehind) {
    const auto target = inFolder(dir, "没有的 文件夹/通知（一）.docx");
    const auto said = messageOf([&] { defaultNoticeTemplate().save(target); });
    EXPECT_NE(said.find("“" + utf8(target) + "”"), std::string::npos) << said;
    std::ofstream(inFolder(dir, ".~通知（一）.docx.123456.tmp")) << "x";
    EXPECT_EQ(safefile::removeLeftovers(dir), 1);
    EXPECT_TRUE(namesIn(dir).empty());
}

// ---- the system's side ----------------------------------------------------------------------

TEST_F(ChineseDirectory, FilesAreReadWholeAndOnlyWhenRegular) {
    using P = os_files::FileBytes::Problem;
    const auto file = inFolder(dir, "张 三（一）.docx");
    std::ofstream(file, std::ios::binary) << "PK bytes";
    auto read = os_files::readRegularFile(file, 100);
    EXPECT_EQ(read.problem, P::None);
    EXPECT_EQ(read.bytes, "PK bytes");
    EXPECT_EQ(os_files::readRegularFile(file, 3).problem, P::TooLarge);
    EXPECT_EQ(os_files::readRegularFile(file, 3).size, 8u);
    EXPECT_EQ(os_files::readRegularFile(dir, 100).problem, P::NotRegular);
    EXPECT_EQ(os_files::readRegularFile(inFolder(dir, "无.docx"), 100).problem, P::NotFound);
    EXPECT_EQ(os_files::syncFile(file), 0);
    EXPECT_NE(os_files::syncFile(inFolder(dir, "无.docx")), 0);
    EXPECT_TRUE(os_files::canReadAndWrite(file));
    EXPECT_TRUE(os_files::canWriteIn(dir));
    EXPECT_FALSE(os_files::canWriteIn(inFolder(dir, "无")));
    const auto changed = os_files::modifiedAt(file);
    ASSERT_TRUE(changed);
    EXPECT_LE(std::abs(*changed - std::time(nullptr)), 60);
    EXPECT_FALSE(os_files::ownerWhenAnotherAccount(file));
}

TEST_F(ChineseDirectory, ALockIsHeldUntilItsObjectGoes) {
    using O = os_files::FileLock::Outcome;
    const auto file = inFolder(dir, "代课.lock");
    auto first = std::make_unique<os_files::FileLock>();
    ASSERT_EQ(first->take(file), O::Taken);
    os_files::FileLock second;
    EXPECT_EQ(second.take(file), O::HeldByAnother);
    first.reset();
    EXPECT_EQ(second.take(file), O::Taken);
    os_files::FileLock nowhere;
    EXPECT_EQ(nowhere.take(inFolder(dir, "无/代课.lock")), O::CannotOpen);
    EXPECT_EQ(nowhere.error(), ENOENT);
}

#ifndef _WIN32
// A shell script as the program, and the PATH set with setenv: POSIX only.
TEST_F(ChineseDirectory, ProgramsAreFoundOnThePathAndRunWithinTheirTime) {
    const auto bin = inFolder(dir, "程序 目录");
    fs::create_directories(bin);
    const auto script = inFolder(bin, "soffice");
    std::ofstream(script) << "#!/bin/sh\n[ \"$1\" = \"张 三\" ] || exit 3\n";
    fs::permissions(script, fs::perms::owner_all);
    const char* old = std::getenv("PATH");
    const std::string saved = old ? old : "";
    ::setenv("PATH", ("/nowhere:" + utf8(bin) + ":" + saved).c_str(), 1);
    const auto found = os_files::findProgram("soffice", "LibreOffice\\program");
    ::setenv("PATH", saved.c_str(), 1);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, script);

    using R = os_files::RunOutcome;
    const std::chrono::milliseconds second(1000);
    EXPECT_EQ(os_files::runQuietly(script, {"张 三"}, 10 * second), R::Succeeded);
    EXPECT_EQ(os_files::runQuietly(script, {"李四"}, 10 * second), R::Failed);
    EXPECT_EQ(os_files::runQuietly(inFolder(bin, "没有"), {}, second), R::NotStarted);
    EXPECT_EQ(os_files::runQuietly("/bin/sleep", {"5"}, std::chrono::milliseconds(100)),
              R::TimedOut);
}
#endif

}  // namespace
}  // namespace daike
