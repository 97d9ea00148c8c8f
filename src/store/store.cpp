#include "store/store.h"

#include <fcntl.h>
#include <sqlcipher/sqlite3.h>
#include <sys/file.h>
#include <unicode/ucol.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

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

std::string dirText(const std::filesystem::path& p) {
    return p.string();
}

}  // namespace

std::unique_ptr<Store> Store::open(const std::filesystem::path& directory) {
    using K = StoreError::Kind;
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec)) {
        throw StoreError(K::NoAccess,
                         "程序目录“" + dirText(directory) + "”不存在，无法打开数据库。");
    }
    std::unique_ptr<Store> s(new Store());
    s->file_ = directory / kFileName;

    // One copy of the program per directory: the lock is held for the whole run.
    const auto lockPath = directory / kLockName;
    s->lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (s->lockFd_ < 0) {
        throw StoreError(K::NoAccess, "无法在程序目录“" + dirText(directory) +
                                          "”中写入文件，请检查该目录的访问权限。");
    }
    if (::flock(s->lockFd_, LOCK_EX | LOCK_NB) != 0) {
        throw StoreError(K::AlreadyRunning,
                         "代课程序已经在运行（同一目录下的数据库正在被使用），不能同时打开两个。");
    }

    const bool exists = std::filesystem::exists(s->file_, ec);
    if (exists && ::access(s->file_.c_str(), R_OK | W_OK) != 0) {
        throw StoreError(K::NoAccess, "没有读写数据库文件“" + dirText(s->file_) +
                                          "”的权限，请检查文件的访问权限。");
    }
    // A new database is built under another name and renamed when complete, so a failed
    // first start never leaves a half-made file behind.
    const auto target = exists ? s->file_ : directory / (std::string(kFileName) + ".new");
    if (!exists) std::filesystem::remove(target, ec);
    int flags = SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(target.c_str(), &s->db_, flags, nullptr) != SQLITE_OK) {
        throw StoreError(K::NoAccess, "无法打开数据库文件“" + dirText(s->file_) + "”。");
    }
    sqlite3_key(s->db_, kKey, static_cast<int>(sizeof kKey - 1));
    // The key is only checked by the first read.
    if (sqlite3_exec(s->db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        const int code = sqlite3_errcode(s->db_);
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
            throw StoreError(K::AlreadyRunning, "数据库文件正在被其他程序使用，请稍后再试。");
        }
        throw StoreError(K::NotOurFile, "数据库文件“" + dirText(s->file_) +
                                            "”无法读取：文件已损坏，或者不是本程序的数据库。"
                                            "程序将退出，文件保持原样。");
    }
    UErrorCode status = U_ZERO_ERROR;
    s->collator_ = ucol_open("zh", &status);
    if (U_FAILURE(status)) s->collator_ = nullptr;
    sqlite3_create_collation_v2(s->db_, "ZH", SQLITE_UTF8, s->collator_, compareChinese, nullptr);
    sqlite3_busy_timeout(s->db_, 2000);

    auto version = s->select("PRAGMA user_version");
    const auto v = version.empty() ? 0 : version[0][0].toInt();
    if (v > schema::kVersion) {
        throw StoreError(K::NewerVersion,
                         "数据库文件由更新版本的代课程序建立，请使用新版本程序打开。");
    }

    std::set<std::string> present;
    for (auto& row : s->select("SELECT name FROM sqlite_master WHERE type='table'"))
        present.insert(row[0].text());
    bool missing = false;
    for (const auto& t : schema::tables()) missing = missing || !present.count(t.name);
    if (exists && !present.empty() && missing && v == 0) {
        // Some other SQLCipher database that happens to share our key.
        throw StoreError(K::NotOurFile, "数据库文件“" + dirText(s->file_) +
                                            "”不是本程序的数据库。程序将退出，文件保持原样。");
    }
    if (missing || v < schema::kVersion) {
        s->transaction([&] {
            for (const auto& sql : schema::createStatements()) s->exec(sql);
            if (s->select("SELECT count(*) FROM \"注册码\"")[0][0].toInt() == 0) {
                s->exec("INSERT INTO \"注册码\" (\"密码\") VALUES (?)", {schema::kInitialPassword});
            }
            s->exec("PRAGMA user_version = " + std::to_string(schema::kVersion));
        });
    }
    if (!exists) {
        for (auto& [sql, st] : s->statements_) sqlite3_finalize(st);
        s->statements_.clear();
        sqlite3_close(s->db_);
        s->db_ = nullptr;
        std::filesystem::rename(target, s->file_, ec);
        if (ec) throw StoreError(K::NoAccess, "无法建立数据库文件“" + dirText(s->file_) + "”。");
        if (sqlite3_open_v2(s->file_.c_str(), &s->db_, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK) {
            throw StoreError(K::NoAccess, "无法打开数据库文件“" + dirText(s->file_) + "”。");
        }
        sqlite3_key(s->db_, kKey, static_cast<int>(sizeof kKey - 1));
        sqlite3_create_collation_v2(s->db_, "ZH", SQLITE_UTF8, s->collator_, compareChinese,
                                    nullptr);
        sqlite3_busy_timeout(s->db_, 2000);
    }
    // Write-ahead log: a commit costs one flush of the log instead of several of the file, which
    // keeps a period click (a small transaction on the working tables) well under a
    // millisecond; every commit still reaches the disk. The log is folded back into 代课.db
    // when the program closes.
    s->exec("PRAGMA journal_mode=WAL");
    s->exec("PRAGMA synchronous=FULL");
    return s;
}

Store::~Store() {
    for (auto& [sql, st] : statements_) sqlite3_finalize(st);
    if (db_) sqlite3_close(db_);
    if (collator_) ucol_close(collator_);
    if (lockFd_ >= 0) ::close(lockFd_);  // releases the lock
}

void Store::fail(const std::string& what) {
    throw StoreError(
        StoreError::Kind::Query,
        "数据库操作失败：" + std::string(db_ ? sqlite3_errmsg(db_) : "") + "（" + what + "）");
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
        throw StoreError(StoreError::Kind::Usage,
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
    if (rc != SQLITE_DONE) fail(std::string(sql));
    return sqlite3_changes(db_);
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
        throw StoreError(StoreError::Kind::Query, "数据库操作失败：" + msg);
    }
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
}

void Store::rollback() {
    --depth_;
    if (depth_ == 0) {
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
    throw StoreError(StoreError::Kind::Usage, "数据库中没有表“" + std::string(name) + "”。");
}

Recordset Store::dkb(std::string_view query, const std::vector<Value>& params) {
    if (!startsWithSelectAll(query)) {
        throw StoreError(
            StoreError::Kind::Usage,
            "数据库操作失败：查询必须以 select * from 开头（" + std::string(query) + "）");
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
