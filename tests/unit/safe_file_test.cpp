// Files we write against a disk that runs out: the old file stays whole, nothing half-made is
// left, and the office reads why in Chinese. The small-disk cases need a tmpfs mount and are
// skipped (with the reason) where the machine does not allow one; the size-limit cases make the
// same writes fail on any machine.
#include "store/safe_file.h"

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "statistics/exports.h"
#include "store/failure.h"
#include "store/safekeeping.h"
#include "store/store.h"
#include "test_support.h"

namespace daike {
namespace {

namespace fs = std::filesystem;
using testing::bytesOf;
using testing::TempDir;
using testing::writeBytes;

// The names in a folder, sorted, "/" after a folder's name.
std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        out.push_back(e.path().filename().string() + (e.is_directory() ? "/" : ""));
    std::sort(out.begin(), out.end());
    return out;
}

// What a failed call threw, or "" when it did not fail.
template <typename F>
std::string failureOf(F&& f, Failure::Kind* kind = nullptr) {
    try {
        f();
    } catch (const Failure& e) {
        if (kind) *kind = e.kind();
        return e.what();
    }
    return "";
}

void addRecords(Store& s, int from, int n) {
    s.transaction([&] {
        for (int i = from; i < from + n; ++i) {
            s.exec(
                "INSERT INTO 代课记录 (被代, 性质, 代者, 周次, 星期, 班级, 课目, 节次) "
                "VALUES (?, '病假', ?, '3', 2, '一(1)', '语文', 1)",
                {"教师" + std::to_string(i), std::string(200, 'x')});
        }
    });
}

long long records(Store& s) {
    return s.select("SELECT count(*) FROM 代课记录")[0][0].toInt();
}

statistics::Table tableOf(int rows) {
    statistics::Table t;
    t.title = "统计";
    t.headers = {"代课教师", "节数"};
    for (int i = 0; i < rows; ++i) {
        statistics::TableRow row;
        row.cells.push_back(
            statistics::Cell::of("教师" + std::to_string(i) + std::string(40, 'y')));
        row.cells.push_back(statistics::Cell::count(i));
        t.rows.push_back(std::move(row));
    }
    return t;
}

const std::string kPdf = "%PDF-1.4\n1 0 obj << >> endobj\ntrailer << >>\n%%EOF\n";

TEST(SafeFile, AWriteThatFailsOrComesOutShortLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    const auto target = dir.path() / "统计.pdf";
    writeBytes(target, kPdf + "old");

    // The writer gives up half-way.
    EXPECT_THROW(safefile::write(target,
                                 [](const fs::path& temp) {
                                     writeBytes(temp, "%PDF-1.4 half");
                                     throw Failure(Failure::Kind::CannotWrite, "写到一半");
                                 }),
                 Failure);
    // The writer says nothing but leaves an empty file, or one without its trailer.
    const auto empty = failureOf([&] {
        safefile::write(
            target, [](const fs::path& temp) { writeBytes(temp, ""); }, safefile::Content::Pdf);
    });
    EXPECT_NE(empty.find("磁盘空间不足"), std::string::npos) << empty;
    const auto cut = failureOf([&] {
        safefile::write(
            target, [](const fs::path& temp) { writeBytes(temp, "%PDF-1.4\n1 0 obj"); },
            safefile::Content::Pdf);
    });
    EXPECT_NE(cut.find("不完整"), std::string::npos) << cut;
    EXPECT_EQ(bytesOf(target), kPdf + "old");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"统计.pdf"});

    // A whole one replaces it.
    safefile::write(
        target, [](const fs::path& temp) { writeBytes(temp, kPdf); }, safefile::Content::Pdf);
    EXPECT_EQ(bytesOf(target), kPdf);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"统计.pdf"});
}

// A picture cut short (no IEND chunk) or a file that is no PNG never replaces the old one.
TEST(SafeFile, APictureWithoutItsSignatureOrItsEndKeepsTheOldOne) {
    TempDir dir;
    const auto target = dir.path() / "当日代课安排表-20261209.png";
    const std::string head("\x89PNG\r\n\x1a\n", 8);
    const std::string end("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    const std::string whole = head + "IHDR and pixels" + end;
    writeBytes(target, whole);
    for (const std::string& bad : {head + "IHDR cut", "GIF89a" + end, std::string("x")}) {
        const auto why = failureOf([&] {
            safefile::write(
                target, [&](const fs::path& temp) { writeBytes(temp, bad); },
                safefile::Content::Png);
        });
        EXPECT_NE(why.find("不完整"), std::string::npos) << why;
        EXPECT_EQ(bytesOf(target), whole);
    }
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"当日代课安排表-20261209.png"});
    const std::string newer = head + "other pixels" + end;
    safefile::write(
        target, [&](const fs::path& temp) { writeBytes(temp, newer); }, safefile::Content::Png);
    EXPECT_EQ(bytesOf(target), newer);
}

TEST(SafeFile, TheStartRemovesOnlyTheTemporaryFilesOfKilledRuns) {
    TempDir dir;
    { Store::open(dir.path()); }
    const auto backups = safekeeping::backupFolder(dir.path());
    fs::create_directories(backups);
    for (const auto* ours : {".~统计.pdf.123456.tmp", ".~代课通知.docx.7.tmp"})
        writeBytes(dir.path() / ours, "x");
    for (const auto* ours : {"代课-20261208.db.part", "代课-20261208.db.part-journal"})
        writeBytes(backups / ours, "x");
    // The office's own files and folders that merely look alike stay.
    for (const auto* theirs : {"笔记.tmp", ".~lock.统计.xlsx#", ".~a.tmp", "代课.db.partial"})
        writeBytes(dir.path() / theirs, "mine");
    fs::create_directories(dir.path() / ".~文件夹.1.tmp");
    fs::create_directories(dir.path() / "资料");
    writeBytes(dir.path() / "资料" / ".~x.pdf.5.tmp", "below");

    { Store::open(dir.path()); }
    EXPECT_FALSE(fs::exists(dir.path() / ".~统计.pdf.123456.tmp"));
    EXPECT_FALSE(fs::exists(dir.path() / ".~代课通知.docx.7.tmp"));
    EXPECT_FALSE(fs::exists(backups / "代课-20261208.db.part"));
    EXPECT_FALSE(fs::exists(backups / "代课-20261208.db.part-journal"));
    for (const auto* theirs : {"笔记.tmp", ".~lock.统计.xlsx#", ".~a.tmp", "代课.db.partial"})
        EXPECT_EQ(bytesOf(dir.path() / theirs), "mine") << theirs;
    EXPECT_TRUE(fs::is_directory(dir.path() / ".~文件夹.1.tmp"));
    EXPECT_TRUE(fs::exists(dir.path() / "资料" / ".~x.pdf.5.tmp"));
}

// Writes beyond `bytes` fail with EFBIG for as long as the object lives, as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
};

TEST(SafeFile, AnExportOrBackupCutShortByTheSystemKeepsTheOldFile) {
    TempDir dir;
    const auto csv = dir.path() / "统计.csv";
    const auto xlsx = dir.path() / "统计.xlsx";
    const auto backup = dir.path() / "代课-备份.db";
    const auto source = dir.path() / "源.db";
    writeBytes(csv, "old csv");
    writeBytes(xlsx, "old xlsx");
    writeBytes(backup, "old backup");
    writeBytes(source, std::string(1 << 20, 'd'));
    const auto big = tableOf(20000);

    std::string csvWhy, xlsxWhy, backupWhy;
    {
        FileSizeLimit limit(4 * 1024);
        csvWhy = failureOf([&] { statistics::writeFile(csv, std::string(1 << 20, 'c')); });
        xlsxWhy = failureOf([&] { statistics::writeXlsx(xlsx, {big}, "统计"); });
        backupWhy = failureOf([&] { safekeeping::copyFileAtomically(source, backup); });
    }
    for (const auto* why : {&csvWhy, &xlsxWhy, &backupWhy}) {
        EXPECT_NE(why->find("无法保存文件"), std::string::npos) << *why;
    }
    EXPECT_EQ(bytesOf(csv), "old csv");
    EXPECT_TRUE(bytesOf(xlsx) == "old xlsx") << xlsxWhy;
    EXPECT_EQ(bytesOf(backup), "old backup");
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"代课-备份.db", "源.db", "统计.csv", "统计.xlsx"}));
}

// A small disk of its own, mounted for the test, and a way to fill it.
class SmallDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "mounting a small disk needs root";
        if (::mount("daike-test", mount_.path().c_str(), "tmpfs", 0, "size=8m") != 0)
            GTEST_SKIP() << "this machine does not allow a tmpfs mount: " << std::strerror(errno);
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) ::umount2(mount_.path().c_str(), MNT_DETACH);
    }
    const fs::path& disk() const { return mount_.path(); }

    // Takes every free byte of the disk.
    void fill() {
        std::ofstream f(disk() / "填满", std::ios::binary | std::ios::app);
        const std::string block(64 * 1024, 'f');
        while (f.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
        f.close();
        std::ofstream g(disk() / "填满-尾", std::ios::binary);
        for (int i = 0; i < 64 * 1024 && g.put('f'); ++i) {
        }
    }
    void makeRoom() {
        fs::remove(disk() / "填满");
        fs::remove(disk() / "填满-尾");
    }

  private:
    TempDir mount_;
    bool mounted_ = false;
};

TEST_F(SmallDisk, ExportsOnAFullDiskSaySoAndKeepTheOldFile) {
    const auto pdfLike = disk() / "统计.csv";
    const auto xlsx = disk() / "统计.xlsx";
    writeBytes(pdfLike, "old csv");
    writeBytes(xlsx, "old xlsx");
    const auto t = tableOf(2000);
    fill();
    const auto csvWhy =
        failureOf([&] { statistics::writeFile(pdfLike, std::string(1 << 20, 'c')); });
    const auto xlsxWhy = failureOf([&] { statistics::writeXlsx(xlsx, {t}, "统计"); });
    EXPECT_NE(csvWhy.find("磁盘空间不足"), std::string::npos) << csvWhy;
    EXPECT_NE(xlsxWhy.find("磁盘空间不足"), std::string::npos) << xlsxWhy;
    EXPECT_EQ(xlsxWhy.rfind("Zip", 0), std::string::npos) << "a library's text stands first";
    EXPECT_EQ(bytesOf(pdfLike), "old csv");
    EXPECT_TRUE(bytesOf(xlsx) == "old xlsx") << xlsxWhy;
    EXPECT_EQ(namesIn(disk()),
              (std::vector<std::string>{"填满", "填满-尾", "统计.csv", "统计.xlsx"}));
}

TEST_F(SmallDisk, AStartOnAFullDiskIsNeverADamagedDatabase) {
    const auto school = disk() / "学校";
    fs::create_directories(school);
    {
        auto s = Store::open(school);
        addRecords(*s, 0, 300);
    }
    const auto before = bytesOf(school / Store::kFileName);
    fill();
    // A healthy file on a full disk either opens or is refused for want of room.
    Failure::Kind kind{};
    const auto why = failureOf([&] { auto s = Store::open(school); }, &kind);
    if (!why.empty()) {
        EXPECT_EQ(kind, Failure::Kind::DiskFull) << why;
        EXPECT_NE(why.find("磁盘空间不足"), std::string::npos) << why;
    }
    EXPECT_EQ(why.find("损坏"), std::string::npos) << why;
    EXPECT_EQ(bytesOf(school / Store::kFileName), before);
    makeRoom();
    auto s = Store::open(school);
    EXPECT_EQ(records(*s), 300);
}

TEST_F(SmallDisk, ACrashedRunOnAFullDiskIsToldAndKeptUntilThereIsRoom) {
    TempDir live;
    const auto school = disk() / "学校";
    fs::create_directories(school);
    {
        auto s = Store::open(live.path());
        addRecords(*s, 0, 2000);
        // Killed while the log still holds the day's covers.
        fs::copy_file(live.path() / Store::kFileName, school / Store::kFileName);
        fs::copy_file(live.path() / "代课.db-wal", school / "代课.db-wal");
    }
    const auto file = bytesOf(school / Store::kFileName);
    const auto log = bytesOf(school / "代课.db-wal");
    fill();
    for (int attempt = 0; attempt < 2; ++attempt) {
        Failure::Kind kind{};
        const auto why = failureOf([&] { auto s = Store::open(school); }, &kind);
        EXPECT_EQ(kind, Failure::Kind::DiskFull) << why;
        EXPECT_NE(why.find("磁盘空间不足"), std::string::npos) << why;
        // Nothing half-made: no empty copy in 备份, the files as the crash left them.
        const auto backups = safekeeping::backupFolder(school);
        if (fs::exists(backups)) {
            EXPECT_TRUE(fs::is_empty(backups)) << "attempt " << attempt;
        }
        EXPECT_EQ(bytesOf(school / Store::kFileName), file);
        EXPECT_EQ(bytesOf(school / "代课.db-wal"), log);
    }
    makeRoom();
    auto s = Store::open(school);
    EXPECT_EQ(records(*s), 2000);
}

TEST_F(SmallDisk, AnActionOnAFullDiskIsRefusedWholeAndTheNextOneWorks) {
    const auto school = disk() / "学校";
    fs::create_directories(school);
    auto s = Store::open(school);
    addRecords(*s, 0, 10);
    fill();
    const auto why = failureOf([&] { addRecords(*s, 10, 5000); });
    EXPECT_NE(why.find("磁盘已满"), std::string::npos) << why;
    EXPECT_EQ(records(*s), 10);
    // A backup that finds no room says so and leaves no half-made copy.
    const auto backup = disk() / "学校" / "备份-满.db";
    const auto backupWhy = failureOf([&] { s->backupTo(backup); });
    EXPECT_NE(backupWhy, "");
    EXPECT_FALSE(fs::exists(backup));
    EXPECT_FALSE(fs::exists(backup.string() + ".part"));
    makeRoom();
    addRecords(*s, 10, 5);
    EXPECT_EQ(records(*s), 15);
}

}  // namespace
}  // namespace daike
