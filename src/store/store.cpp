#include "store/store.h"

#include <sqlcipher/sqlite3.h>
#include <unicode/ucol.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

#include "store/layout_check.h"
#include "store/os_files.h"
#include "store/paths.h"
#include "store/program_version.h"
#include "store/safe_file.h"
#include "store/safekeeping.h"
#include "store/sql_text.h"

namespace daike {

namespace {

// The database key: the password the office's original database file was protected with.
constexpr char kKey[] = " 472058316,1";

// Text comparison in Chinese order (pinyin, as a Chinese-locale database sorts). Texts that the
// collator finds equal but that differ in their bytes are ordered by their bytes, so equality
// stays exact.
int compareChinese(void* ctx, int n1, const void* s1, int n2, const void* s2) {
    auto* coll = static_cast<UCollator*>(ctx);
    if (coll) {
        UErrorCode status = U_ZERO_ERROR;
        UCollationResult r = ucol_strcollUTF8(coll, static_cast<const char*>(s1), n1,
                                              static_cast<const char*>(s2), n2, &status);
        if (U_SUCCESS(status) && r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
    }
    int c = std::memcmp(s1, s2, static_cast<std::size_t>(std::min(n1, n2)));
    if (c != 0) return c;
    return n1 - n2;
}

bool startsWithSelectAll(std::string_view q) {
    constexpr std::string_view head = "select * from ";
    if (q.size() < head.size()) return false;
    for (std::size_t i = 0; i < head.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(q[i])) != head[i]) return false;
    return true;
}

std::size_t findNoCase(std::string_view hay, std::string_view needle) {
    if (needle.size() > hay.size()) return std::string_view::npos;
    for (std::size_t i = 0; i + needle.size() <= hay.size(); ++i) {
        bool ok = true;
        for (std::size_t j = 0; j < needle.size() && ok; ++j)
            ok = std::tolower(static_cast<unsigned char>(hay[i + j])) == needle[j];
        if (ok) return i;
    }
    return std::string_view::npos;
}

}  // namespace

namespace {

void removeQuietly(const std::filesystem::path& p) {
    std::error_code ec;
    std::filesystem::remove(p, ec);
}

bool existsQuietly(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

std::uintmax_t sizeQuietly(const std::filesystem::path& p) {
    std::error_code ec;
    const auto n = std::filesystem::file_size(p, ec);
    return ec ? 0 : n;
}

AccessFacts accessFacts(const std::filesystem::path& dir, const std::filesystem::path& lock,
                        int error) {
    AccessFacts f;
    f.directory = utf8(dir);
    f.directoryWritable = os_files::canWriteIn(dir);
    f.lockExists = existsQuietly(lock);
    if (const auto owner = os_files::ownerWhenAnotherAccount(lock)) {
        f.lockOwner = *owner;
        f.lockOfAnotherAccount = true;
    }
    f.systemError = error;
    return f;
}

}  // namespace

std::string describeAccessProblem(const AccessFacts& f) {
    const std::string lock = utf8(inFolder(pathFromUtf8(f.directory), Store::kLockName));
    if (f.lockExists && f.lockOfAnotherAccount && f.systemError == EACCES) {
        return "锁文件“" + lock + "”属于另一个用户账户（用户号 " + std::to_string(f.lockOwner) +
               "），当前账户不能使用它，所以数据库没有打开。\n"
               "如果那个账户正在运行代课程序，请先在那里关闭程序；如果没有任何代课程序在运行，"
               "请管理员删除这个锁文件（它不含任何数据，程序下次启动会重新建立）。";
    }
    if (!f.directoryWritable) {
        return "数据目录“" + f.directory +
               "”是只读的，当前账户不能在其中写入，数据库无法打开和保存。\n"
               "请让管理员给当前账户这个目录的写入权限，或者用“daike --data 目录”"
               "指定一个可以写入的目录。";
    }
    return "无法在数据目录“" + f.directory + "”中建立锁文件“" + Store::kLockName +
           "”，数据库没有打开。请检查这个目录的访问权限和磁盘空间。（" +
           std::strerror(f.systemError) + "）";
}

std::string describeDatabaseError(int code, const std::string& text) {
    std::string what;
    switch (code & 0xff) {
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            what =
                "数据库文件已损坏，本次操作没有完成。请关闭程序后重新启动：程序会检查数据库文件，"
                "并提供从最近的备份恢复。";
            break;
        case SQLITE_FULL:
            what = "磁盘已满，本次操作没有保存。请腾出磁盘空间后再做一次。";
            break;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
        case SQLITE_AUTH:
            what =
                "数据库文件不能写入，本次操作没有保存。请检查数据目录和数据库文件的写入权限"
                "（文件是否被设为只读，或属于另一个用户账户）。";
            break;
        case SQLITE_IOERR:
            what =
                "读写数据库文件时出错（磁盘可能有故障或已被拔出），本次操作没有保存。"
                "请检查磁盘后重新启动程序。";
            break;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            what = "数据库正被其他程序占用，本次操作没有完成。请关闭其他使用数据库的程序后再试。";
            break;
        case SQLITE_NOMEM:
            what = "内存不足，本次操作没有完成。请关闭其他程序后再试。";
            break;
        default:
            what =
                "数据库操作失败，本次操作没有保存。请重新启动程序后再试；如果仍然出错，"
                "请与技术支持联系。";
            break;
    }
    return text.empty() ? what : what + "（" + text + "）";
}

void Store::connect(const std::filesystem::path& file, bool create) {
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    // SQLite takes file names in UTF-8 on every system.
    if (sqlite3_open_v2(utf8(file).c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string text = db_ ? sqlite3_errmsg(db_) : "";
        if (db_) sqlite3_close(db_);
        db_ = nullptr;
        throw Failure(Failure::Kind::NoAccess, "无法打开数据库文件“" + utf8(file) +
                                                   "”。请检查数据目录的访问权限和磁盘空间。（" +
                                                   text + "）");
    }
    sqlite3_key(db_, kKey, static_cast<int>(sizeof kKey - 1));
    if (!collator_) {
        UErrorCode status = U_ZERO_ERROR;
        collator_ = ucol_open("zh", &status);
        if (U_FAILURE(status)) collator_ = nullptr;
    }
    sqlite3_create_collation_v2(db_, "ZH", SQLITE_UTF8, collator_, compareChinese, nullptr);
    sqlite3_busy_timeout(db_, 2000);
    // Every row written is noted for the announcements. A DELETE without WHERE would empty the
    // table in one step, unseen by the hook: the authorizer makes SQLite delete row by row.
    sqlite3_update_hook(db_, &Store::rowWritten, this);
    sqlite3_set_authorizer(db_, &Store::authorize, this);
}

int Store::authorize(void* self, int action, const char* table, const char*, const char*,
                     const char*) {
    auto& dropping = static_cast<Store*>(self)->dropping_;
    // A DROP TABLE asks for its DELETE right after: that one must stay allowed as it is, or
    // the table would not be dropped. SQLite's own tables are left alone too.
    if (action == SQLITE_DROP_TABLE || action == SQLITE_DROP_TEMP_TABLE) {
        dropping = true;
        return SQLITE_OK;
    }
    if (action != SQLITE_DELETE) return SQLITE_OK;
    const bool wasDropping = std::exchange(dropping, false);
    const bool ours = table && std::string_view(table).substr(0, 7) != "sqlite_";
    return ours && !wasDropping ? SQLITE_IGNORE : SQLITE_OK;
}

void Store::rowWritten(void* self, int, const char*, const char* table, long long) {
    // Inside sqlite3_step: only noted here, announced once the action is over.
    if (const auto change = schema::changeOf(table))
        static_cast<Store*>(self)->pending_[static_cast<std::size_t>(*change)] = true;
}

void Store::announcePending() {
    const auto pending = pending_;
    pending_ = {};
    if (!changes_) return;
    for (int c = 0; c < kChangeFamilies; ++c)
        if (pending[static_cast<std::size_t>(c)]) changes_->announce(static_cast<Change>(c));
}

void Store::disconnect() {
    for (auto& [sql, st] : statements_) sqlite3_finalize(st);
    statements_.clear();
    if (!db_) return;
    // Closing folds the log into the file. When the log did not belong to it, the caller puts
    // back the copy it kept aside before opening.
    sqlite3_close(db_);
    db_ = nullptr;
}

std::string Store::readAndCheck(bool full, int* code) {
    *code = SQLITE_OK;
    // The key is only checked by the first read.
    if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        *code = sqlite3_errcode(db_);
        return sqlite3_errmsg(db_);
    }
    sqlite3_stmt* st = nullptr;
    const char* sql = full ? "PRAGMA integrity_check(5)" : "PRAGMA quick_check(5)";
    if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) {
        *code = sqlite3_errcode(db_);
        return sqlite3_errmsg(db_);
    }
    std::string findings;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        const std::string row = t ? t : "";
        if (row != "ok") findings += (findings.empty() ? "" : "; ") + row;
    }
    if (rc != SQLITE_DONE) {
        *code = sqlite3_errcode(db_);
        findings = sqlite3_errmsg(db_);
    } else if (!findings.empty()) {
        *code = SQLITE_CORRUPT;
    }
    sqlite3_finalize(st);
    return findings;
}

void Store::useLog() {
    // Write-ahead log: a commit costs one flush of the log instead of several of the file, which
    // keeps a period click (a small transaction on the working tables) well under a
    // millisecond; every commit still reaches the disk. The log is folded back into 代课.db
    // when the program closes.
    exec("PRAGMA journal_mode=WAL");
    exec("PRAGMA synchronous=FULL");
}

namespace {

// Check the directory: it must be there before anything is looked for in it.
void checkDirectory(const std::filesystem::path& directory) {
    if (!std::filesystem::is_directory(directory)) {
        throw Failure(
            Failure::Kind::NoAccess,
            "数据目录“" + utf8(directory) + "”不存在，无法打开数据库。请检查目录名是否正确。");
    }
}

// Check the file: an empty one, or one the account cannot read and write, is refused untouched.
void checkFile(const std::filesystem::path& file, bool exists) {
    using K = Failure::Kind;
    if (exists && sizeQuietly(file) == 0) {
        throw Failure(K::EmptyFile,
                      "数据库文件“" + utf8(file) + "”是空的（0 字节），里面没有任何数据。");
    }
    if (exists && !os_files::canReadAndWrite(file)) {
        throw Failure(K::NoAccess, "当前账户没有读写数据库文件“" + utf8(file) +
                                       "”的权限（文件被设为只读，或属于另一个用户账户）。"
                                       "请让管理员恢复这个文件的读写权限。");
    }
}

// Set aside a log without its file: replaying it into a new file would make an unusable
// database. Returns the notice for the operator, or nothing when there is no such log.
std::optional<std::string> setAsideLogWithoutFile(const std::filesystem::path& directory,
                                                  const std::filesystem::path& file,
                                                  const safekeeping::Moment& now) {
    const auto log = withSuffix(file, Store::kLogSuffix);
    if (!existsQuietly(log)) return std::nullopt;
    const auto index = withSuffix(file, Store::kIndexSuffix);
    const auto aside = safekeeping::keepAside(directory, {log, index}, true, now);
    return "数据目录中有上次运行留下的日志文件“" + std::string(Store::kFileName) +
           Store::kLogSuffix + "”，但数据库文件“" + Store::kFileName +
           "”已不存在。这个日志不能单独使用，已移到“" + utf8(aside) +
           "”保存。\n请不要手动删除程序目录中的文件；要重新开始，请使用“所有数据清空”。";
}

// Keep an interrupted run's file and log aside: a log left by a run that did not close is
// copied with the file before anything is applied, so that a log of another file can be
// undone. Returns where the copies went, or nothing when the last run closed (its empty log is
// removed). The index is removed either way: we hold the lock, so no other connection uses it,
// and it is rebuilt from the log.
std::optional<std::filesystem::path> keepInterruptedRun(const std::filesystem::path& directory,
                                                        const std::filesystem::path& file,
                                                        bool exists,
                                                        const safekeeping::Moment& now) {
    const auto log = withSuffix(file, Store::kLogSuffix);
    std::optional<std::filesystem::path> aside;
    if (exists && sizeQuietly(log) > 0) {
        aside = safekeeping::keepAside(directory, {file, log}, false, now);
    } else {
        removeQuietly(log);
    }
    removeQuietly(withSuffix(file, Store::kIndexSuffix));
    return aside;
}

std::string diskFullAtStart(const std::filesystem::path& file, const std::string& problem) {
    return "数据目录“" + utf8(file.parent_path()) +
           "”所在的磁盘空间不足，数据库无法打开。数据库文件没有改变，不需要恢复。"
           "请腾出磁盘空间后重新启动程序。（" +
           problem + "）";
}

}  // namespace

std::unique_ptr<Store> Store::open(const std::filesystem::path& directory) {
    checkDirectory(directory);
    std::unique_ptr<Store> s(new Store());
    s->file_ = inFolder(directory, kFileName);
    s->takeLock(directory);
    // We hold the lock: a temporary file of ours found now is a killed run's.
    safefile::removeLeftovers(directory);
    safefile::removeLeftovers(safekeeping::backupFolder(directory));
    const bool exists = existsQuietly(s->file_);
    checkFile(s->file_, exists);
    const auto now = safekeeping::localNow();
    if (!exists) {
        if (auto notice = setAsideLogWithoutFile(directory, s->file_, now))
            s->notices_.push_back(std::move(*notice));
    }
    const auto aside = keepInterruptedRun(directory, s->file_, exists, now);
    const auto target = s->connectAndKey(directory, exists);
    s->checkOrRecover(aside);
    const auto version = s->checkVersion();
    if (exists && version < schema::kVersion) s->backUpBeforeUpgrade(version);
    s->createOrMigrate(exists, version);
    if (!exists) s->moveNewFileIntoPlace(directory, target);
    s->recordProgramVersion();
    s->useLog();
    return s;
}

void Store::takeLock(const std::filesystem::path& directory) {
    using K = Failure::Kind;
    // One copy of the program per directory: the lock is held for the whole run.
    const auto lockPath = inFolder(directory, kLockName);
    const auto taken = lock_.take(lockPath);
    if (taken == os_files::FileLock::Outcome::CannotOpen) {
        throw Failure(K::NoAccess,
                      describeAccessProblem(accessFacts(directory, lockPath, lock_.error())));
    }
    if (taken == os_files::FileLock::Outcome::HeldByAnother) {
        throw Failure(K::AlreadyRunning,
                      "代课程序已经在运行（同一目录下的数据库正在被使用），不能同时打开两个。"
                      "请切换到已经打开的代课程序窗口。");
    }
    // An existing lock file opens even in a directory that cannot be written; the database's
    // log could then not be made, and the file would seem damaged.
    if (!os_files::canWriteIn(directory)) {
        throw Failure(K::NoAccess, describeAccessProblem(accessFacts(directory, lockPath, EACCES)));
    }
}

std::filesystem::path Store::connectAndKey(const std::filesystem::path& directory, bool exists) {
    // A new database is built under another name and renamed when complete, so a failed
    // first start never leaves a half-made file behind.
    const auto target = exists ? file_ : inFolder(directory, std::string(kFileName) + ".new");
    if (!exists) removeQuietly(target);
    connect(target, !exists);
    return target;
}

void Store::checkOrRecover(const std::optional<std::filesystem::path>& aside) {
    using K = Failure::Kind;
    const bool recovering = aside.has_value();
    int code = SQLITE_OK;
    std::string problem = readAndCheck(recovering, &code);
    // A check that fails for want of room says nothing about the file itself.
    if (!problem.empty() &&
        ((code & 0xff) == SQLITE_FULL || safefile::almostFull(file_.parent_path()))) {
        // Putting the file back would need room as well; the copies stay where they are.
        disconnect();
        throw Failure(K::DiskFull, diskFullAtStart(file_, problem));
    }
    if (!problem.empty() && recovering && code != SQLITE_BUSY && code != SQLITE_LOCKED) {
        problem = putBackWithoutLog(*aside, problem, &code);
    } else if (problem.empty() && recovering) {
        // Every change of the interrupted run is in the file now; the copies are not needed.
        std::error_code ec;
        std::filesystem::remove_all(*aside, ec);
    }
    if (!problem.empty()) {
        disconnect();
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
            throw Failure(K::AlreadyRunning,
                          "数据库文件正在被其他程序使用，请关闭那个程序后再试。");
        }
        throw Failure(K::NotOurFile, "数据库文件“" + utf8(file_) +
                                         "”已损坏，或者不是本程序的数据库，不能打开。（" + problem +
                                         "）");
    }
}

std::string Store::putBackWithoutLog(const std::filesystem::path& aside,
                                     const std::string& logProblem, int* code) {
    disconnect();
    safekeeping::copyFileAtomically(inFolder(aside, kFileName), file_);
    removeQuietly(withSuffix(file_, kLogSuffix));
    removeQuietly(withSuffix(file_, kIndexSuffix));
    connect(file_, false);
    std::string problem = readAndCheck(true, code);
    if (problem.empty()) {
        notices_.push_back(
            "上次运行没有正常结束。它留下的日志文件与数据库不符（可能是恢复旧文件后留下的日志，"
            "或者属于另一个数据库），不能使用，所以上次运行最后的修改没有恢复。"
            "数据库已回到没有这些修改时的状态，请核对最近录入的代课记录。\n"
            "原来的数据库文件和日志文件都保存在“" +
            utf8(aside) + "”中。（" + logProblem + "）");
    }
    return problem;
}

int Store::compareText(std::string_view a, std::string_view b) const {
    return compareChinese(collator_, static_cast<int>(a.size()), a.data(),
                          static_cast<int>(b.size()), b.data());
}

std::int64_t Store::checkVersion() {
    auto version = select("PRAGMA user_version");
    const auto v = version.empty() ? 0 : version[0][0].toInt();
    if (v > schema::kVersion) {
        disconnect();
        throw Failure(Failure::Kind::NewerVersion,
                      "数据库文件由更新版本的代课程序建立，本程序不能使用它。"
                      "请使用新版本的代课程序打开；文件保持原样。");
    }
    return v;
}

void Store::createOrMigrate(bool exists, std::int64_t version) {
    std::set<std::string> present;
    for (auto& row : select("SELECT name FROM sqlite_master WHERE type='table'"))
        present.insert(row[0].text());
    bool missing = false;
    for (const auto& t : schema::tables()) missing = missing || !present.count(t.name);
    if (exists && !present.empty() && missing && version == 0) {
        // Some other SQLCipher database that happens to share our key.
        disconnect();
        throw Failure(
            Failure::Kind::NotOurFile,
            "数据库文件“" + utf8(file_) + "”不是本程序的数据库。程序将退出，文件保持原样。");
    }
    if (missing || version < schema::kVersion) {
        transaction([&] {
            for (const auto& sql : schema::createStatements()) exec(sql);
            if (select("SELECT count(*) FROM \"注册码\"")[0][0].toInt() == 0) {
                exec("INSERT INTO \"注册码\" (\"密码\") VALUES (?)", {schema::kInitialPassword});
            }
            exec("PRAGMA user_version = " + std::to_string(schema::kVersion));
        });
    }
}

void Store::backUpBeforeUpgrade(std::int64_t version) {
    // Only a file with our tables is upgraded; anything else is refused by createOrMigrate.
    if (select("SELECT count(*) FROM sqlite_master WHERE type='table'")[0][0].toInt() == 0) return;
    const auto backup = safekeeping::automaticBackup(*this, "升级前", safekeeping::localNow());
    notices_.push_back("数据库由旧版本的代课程序建立（数据格式第 " + std::to_string(version) +
                       " 版），已升级为本版本（" + programVersion() + "）的格式（第 " +
                       std::to_string(schema::kVersion) +
                       " 版），数据没有改变。升级前的文件已备份到“" + utf8(backup) +
                       "”；旧版本的程序不能再打开升级后的文件，需要时可以用这个备份。");
}

void Store::recordProgramVersion() {
    const auto rows = select("SELECT 版本 FROM 程序版本 ORDER BY rowid");
    if (rows.size() == 1 && !rows[0][0].isNull() && rows[0][0].text() == programVersion()) return;
    transaction([&] {
        exec("DELETE FROM 程序版本");
        exec("INSERT INTO 程序版本 (版本) VALUES (?)", {Value(programVersion())});
    });
}

std::string Store::recordedProgramVersion() {
    const auto rows = select("SELECT 版本 FROM 程序版本 ORDER BY rowid LIMIT 1");
    return rows.empty() || rows[0][0].isNull() ? std::string() : rows[0][0].text();
}

std::string Store::madeByVersion(const std::filesystem::path& checkedCopy) {
    Store s;
    s.file_ = checkedCopy;
    s.connect(checkedCopy, false);
    std::string version;
    if (!s.select("SELECT name FROM sqlite_master WHERE type='table' AND name=?",
                  {Value(schema::程序版本)})
             .empty())
        version = s.recordedProgramVersion();
    s.disconnect();
    return version;
}

void Store::moveNewFileIntoPlace(const std::filesystem::path& directory,
                                 const std::filesystem::path& target) {
    disconnect();
    std::error_code ec;
    std::filesystem::rename(target, file_, ec);
    if (ec) {
        throw Failure(Failure::Kind::NoAccess, "无法建立数据库文件“" + utf8(file_) +
                                                   "”。请检查数据目录的写入权限和磁盘空间。");
    }
    safekeeping::syncDirectory(directory);
    connect(file_, false);
}

void Store::backupTo(const std::filesystem::path& dest) {
    std::error_code ec;
    std::filesystem::create_directories(dest.parent_path(), ec);
    const auto part = withSuffix(dest, ".part");
    removeQuietly(part);
    auto failed = [&](const std::string& text) -> Failure {
        removeQuietly(part);
        return Failure(Failure::Kind::NoAccess,
                       "无法写入备份文件“" + utf8(dest) +
                           "”，数据没有改变。请检查备份目录的写入权限和磁盘空间。（" + text + "）");
    };
    sqlite3* d = nullptr;
    if (sqlite3_open_v2(utf8(part).c_str(), &d, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        const std::string text = d ? sqlite3_errmsg(d) : "";
        sqlite3_close(d);
        throw failed(text);
    }
    sqlite3_key(d, kKey, static_cast<int>(sizeof kKey - 1));
    std::string text;
    if (sqlite3_backup* b = sqlite3_backup_init(d, "main", db_, "main")) {
        const int rc = sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
        if (rc != SQLITE_DONE) text = sqlite3_errstr(rc);
    } else {
        text = sqlite3_errmsg(d);
    }
    // A backup stands on its own: no log file beside it.
    if (text.empty() &&
        sqlite3_exec(d, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
        text = sqlite3_errmsg(d);
    sqlite3_close(d);
    if (!text.empty()) throw failed(text);
    try {
        safekeeping::syncFile(part);
    } catch (const std::exception& e) {
        throw failed(e.what());
    }
    std::filesystem::rename(part, dest, ec);
    if (ec) throw failed(ec.message());
    safekeeping::syncDirectory(dest.parent_path());
}

void Store::replaceWith(const std::filesystem::path& checkedCopy) {
    if (depth_ > 0) {
        throw Failure(Failure::Kind::Usage, "数据库正在写入，不能在此时恢复数据。");
    }
    disconnect();
    removeQuietly(withSuffix(file_, kLogSuffix));
    removeQuietly(withSuffix(file_, kIndexSuffix));
    std::error_code ec;
    std::filesystem::rename(checkedCopy, file_, ec);
    safekeeping::syncDirectory(file_.parent_path());
    // Whatever happened, the program goes on with the file now in place.
    connect(file_, false);
    int code = SQLITE_OK;
    const std::string problem = readAndCheck(false, &code);
    if (ec || !problem.empty()) {
        throw Failure(Failure::Kind::NotOurFile, "数据恢复没有完成，请关闭程序后重新启动。（" +
                                                     (ec ? ec.message() : problem) + "）");
    }
    useLog();
    recordProgramVersion();
    pending_.fill(true);
    announcePending();
}

int Store::checkCopy(const std::filesystem::path& copy, const std::string& shownName) {
    using K = Failure::Kind;
    Store s;
    s.file_ = copy;
    s.connect(copy, false);
    int code = SQLITE_OK;
    const std::string problem = s.readAndCheck(true, &code);
    if (!problem.empty()) {
        s.disconnect();
        if (code == SQLITE_NOTADB) {
            throw Failure(K::NotOurFile, "文件“" + shownName +
                                             "”不是代课程序的数据库（或者已经损坏），"
                                             "不能用来恢复。（" +
                                             problem + "）");
        }
        throw Failure(K::NotOurFile, "备份文件“" + shownName +
                                         "”已损坏，不能用来恢复。请选择另一个备份。（" + problem +
                                         "）");
    }
    const auto v = static_cast<int>(s.select("PRAGMA user_version")[0][0].toInt());
    if (v > schema::kVersion) {
        s.disconnect();
        throw Failure(K::NewerVersion, "备份文件“" + shownName +
                                           "”由更新版本的代课程序建立（数据格式第 " +
                                           std::to_string(v) + " 版，本程序只认识到第 " +
                                           std::to_string(schema::kVersion) +
                                           " 版），不能用本程序恢复。请使用新版本的代课程序。");
    }
    // Only a file of exactly our layout is let in: a trigger or view would run code of its
    // own on our writes, a moved or missing column would have every cover misread or fail.
    if (const auto difference = layoutDifference(s, v); !difference.empty()) {
        s.disconnect();
        throw Failure(K::NotOurFile, "文件“" + shownName +
                                         "”的数据结构与本程序的不同，不能用来恢复：" + difference +
                                         "。文件保持原样，没有恢复任何数据。");
    }
    // An older layout is brought up to ours in the copy, as opening such a file would.
    if (v < schema::kVersion) {
        s.createOrMigrate(true, v);
        if (const auto difference = layoutDifference(s, schema::kVersion); !difference.empty()) {
            s.disconnect();
            throw Failure(K::NotOurFile, "文件“" + shownName +
                                             "”的数据格式升级没有成功，不能用来恢复：" +
                                             difference + "。");
        }
    }
    s.exec("PRAGMA journal_mode=DELETE");
    s.disconnect();
    return v;
}

Store::~Store() {
    disconnect();
    if (collator_) ucol_close(collator_);
    // lock_ goes last and lets the directory go.
}

void Store::fail(const std::string& what) {
    const int code = db_ ? sqlite3_extended_errcode(db_) : SQLITE_ERROR;
    const std::string text = db_ ? sqlite3_errmsg(db_) : "";
    throw Failure(Failure::Kind::Query, describeDatabaseError(code, text + "；" + what));
}

sqlite3_stmt* Store::prepare(const std::string& sql) {
    auto it = statements_.find(sql);
    if (it != statements_.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr) !=
            SQLITE_OK ||
        !st) {
        if (st) sqlite3_finalize(st);
        fail(sql);
    }
    statements_.emplace(sql, st);
    return st;
}

void Store::bind(sqlite3_stmt* st, const std::vector<Value>& params) {
    if (static_cast<int>(params.size()) != sqlite3_bind_parameter_count(st)) {
        throw Failure(Failure::Kind::Usage,
                      "数据库操作失败：参数个数不符（" + std::string(sqlite3_sql(st)) + "）");
    }
    for (std::size_t i = 0; i < params.size(); ++i) {
        const auto& v = params[i];
        const int n = static_cast<int>(i + 1);
        if (v.isNull()) {
            sqlite3_bind_null(st, n);
        } else if (v.isInteger()) {
            sqlite3_bind_int64(st, n, v.intRef());
        } else if (v.isReal()) {
            sqlite3_bind_double(st, n, v.realRef());
        } else {
            sqlite3_bind_text(st, n, v.textRef().data(), static_cast<int>(v.textRef().size()),
                              SQLITE_TRANSIENT);
        }
    }
}

Value Store::column(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return Value(static_cast<std::int64_t>(sqlite3_column_int64(st, i)));
        case SQLITE_FLOAT:
            return Value(sqlite3_column_double(st, i));
        default: {
            auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            return Value(
                std::string(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(st, i))));
        }
    }
}

int Store::exec(std::string_view sql, const std::vector<Value>& params) {
    auto* st = prepare(std::string(sql));
    bind(st, params);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) {
        if (depth_ == 0) pending_ = {};
        fail(std::string(sql));
    }
    const int changed = sqlite3_changes(db_);
    if (depth_ == 0) announcePending();
    return changed;
}

std::vector<std::vector<Value>> Store::select(std::string_view sql,
                                              const std::vector<Value>& params) {
    auto* st = prepare(std::string(sql));
    bind(st, params);
    std::vector<std::vector<Value>> rows;
    const int n = sqlite3_column_count(st);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        auto& row = rows.emplace_back();
        row.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) row.push_back(column(st, i));
    }
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) fail(std::string(sql));
    return rows;
}

void Store::execScript(std::string_view sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "";
        sqlite3_free(err);
        if (depth_ == 0) pending_ = {};
        throw Failure(Failure::Kind::Query, describeDatabaseError(sqlite3_errcode(db_), msg));
    }
    if (depth_ == 0) announcePending();
}

std::vector<std::vector<std::optional<std::string>>> Store::selectText(std::string_view sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, std::string(sql).c_str(), -1, &st, nullptr) != SQLITE_OK) {
        if (st) sqlite3_finalize(st);
        fail(std::string(sql));
    }
    std::vector<std::vector<std::optional<std::string>>> rows;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        auto& row = rows.emplace_back();
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            if (sqlite3_column_type(st, i) == SQLITE_NULL) {
                row.emplace_back(std::nullopt);
            } else {
                auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                row.emplace_back(
                    std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(st, i))));
            }
        }
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) fail(std::string(sql));
    return rows;
}

void Store::begin() {
    if (depth_ == 0) {
        exec("BEGIN IMMEDIATE");
    } else {
        exec("SAVEPOINT s" + std::to_string(depth_));
    }
    ++depth_;
}

void Store::commit() {
    if (depth_ == 1) {
        exec("COMMIT");
    } else {
        exec("RELEASE s" + std::to_string(depth_ - 1));
    }
    --depth_;
    if (depth_ == 0) announcePending();
}

void Store::rollback() {
    --depth_;
    if (depth_ == 0) {
        pending_ = {};
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    } else {
        // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "literal" + string.
        std::string sql = "ROLLBACK TO s";
        sql += std::to_string(depth_);
        sql += "; RELEASE s";
        sql += std::to_string(depth_);
        sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    }
}

const schema::Table& Store::table(std::string_view name) const {
    if (const auto* t = schema::find(name)) return *t;
    throw Failure(Failure::Kind::Usage, "数据库中没有表“" + std::string(name) + "”。");
}

Recordset Store::dkb(std::string_view query, const std::vector<Value>& params) {
    if (!startsWithSelectAll(query)) {
        throw Failure(Failure::Kind::Usage, "数据库操作失败：查询必须以 select * from 开头（" +
                                                std::string(query) + "）");
    }
    std::string_view rest = query.substr(14);
    const auto end = rest.find(' ');
    const auto& t = table(rest.substr(0, end));
    std::string sql = "select rowid, * from " + std::string(rest);
    // Table order: rows come in the order they were stored, and so do ties of an ordering.
    if (findNoCase(rest, " order by ") != std::string_view::npos) {
        while (!sql.empty() && sql.back() == ' ') sql.pop_back();
        sql += ", rowid";
    } else {
        sql += " order by rowid";
    }
    auto* st = prepare(sql);
    bind(st, params);
    std::vector<std::string> names;
    for (const auto& c : t.columns) names.push_back(c.name);
    Recordset rs(*this, t.name, names);
    const int n = sqlite3_column_count(st);
    if (n != static_cast<int>(names.size()) + 1) fail(sql);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        Recordset::Row row;
        row.rowid = sqlite3_column_int64(st, 0);
        row.values.reserve(names.size());
        for (int i = 1; i < n; ++i) row.values.push_back(column(st, i));
        row.changed.assign(names.size(), false);
        rs.rows_.push_back(std::move(row));
        ++rs.liveRows_;
    }
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) fail(sql);
    rs.pos_ = 0;
    return rs;
}

void Store::emptyTable(std::string_view name) {
    exec("DELETE FROM " + quoteIdentifier(table(name).name));
}

std::int64_t Store::putFirstFree(std::string_view name, std::string_view column, const Value& value,
                                 bool blankIsFree) {
    const auto& t = table(name);
    const auto tq = quoteIdentifier(t.name);
    const auto cq = quoteIdentifier(column);
    return transaction([&]() -> std::int64_t {
        auto rows = select("SELECT rowid FROM " + tq + " WHERE " + cq + " IS NULL" +
                           (blankIsFree ? " OR " + cq + " = ''" : std::string()) +
                           " ORDER BY rowid LIMIT 1");
        if (!rows.empty()) {
            const auto id = rows[0][0].toInt();
            exec("UPDATE " + tq + " SET " + cq + " = ? WHERE rowid = ?", {value, id});
            return id;
        }
        exec("INSERT INTO " + tq + " (" + cq + ") VALUES (?)", {value});
        return sqlite3_last_insert_rowid(db_);
    });
}

bool Store::removePacked(std::string_view name, std::string_view column, const Value& value,
                         const std::vector<std::string>& companions) {
    const auto& t = table(name);
    std::vector<std::string> cols{std::string(column)};
    cols.insert(cols.end(), companions.begin(), companions.end());
    auto rs = dkb("select * from " + t.name);
    std::vector<int> idx;
    for (const auto& c : cols) idx.push_back(rs.fieldIndex(c));
    if (!rs.find(column, value)) return false;
    return transaction([&] {
        while (!rs.eof()) {
            rs.moveNext();
            std::vector<Value> next(idx.size());
            if (!rs.eof()) {
                for (std::size_t i = 0; i < idx.size(); ++i) next[i] = rs[idx[i]];
            }
            // Back to the row above and give it the row below's cells.
            if (rs.eof()) {
                rs.moveLast();
            } else {
                rs.movePrevious();
            }
            for (std::size_t i = 0; i < idx.size(); ++i) rs.set(idx[i], next[i]);
            rs.moveNext();
        }
        rs.update();
        return true;
    });
}

}  // namespace daike
