// The database: one encrypted SQLite file, 代课.db, in the program directory. This is the only
// code in the program that opens the file or runs SQL. Every value reaches SQL through a bound
// parameter; table and column names come from the program's own layout.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/changes.h"
#include "store/os_files.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/store_error.h"
#include "store/value.h"

struct sqlite3;
struct sqlite3_stmt;
struct UCollator;

namespace daike {

class Store {
  public:
    static constexpr const char* kFileName = "代课.db";
    static constexpr const char* kLockName = "代课.lock";

    static constexpr const char* kLogSuffix = "-wal";
    static constexpr const char* kIndexSuffix = "-shm";

    // Opens the database in a data directory, creating it with every table on first use.
    // Refuses, with a Failure whose message can be shown as it stands, a directory it cannot
    // write, an empty file, a file that is not ours or is damaged (the quick check runs at every
    // open) and a directory whose database another copy of the program holds. A failure leaves
    // an existing file untouched.
    // A log file left by an interrupted run is applied only when the result passes the full
    // check; otherwise the file goes back to how it was without the log. Copies of both are kept
    // aside first, and a log without its database file is moved aside; notices() says what was
    // done and where the copies are.
    static std::unique_ptr<Store> open(const std::filesystem::path& directory);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    const std::filesystem::path& file() const { return file_; }
    std::filesystem::path directory() const { return file_.parent_path(); }
    // What the opening found and did that the operator must hear about, in Chinese.
    const std::vector<std::string>& notices() const { return notices_; }

    // Writes a consistent copy of the open database to `dest` through SQLite's online backup
    // (same key), beside it first and renamed when complete and checked.
    void backupTo(const std::filesystem::path& dest);
    // Replaces the open database with a checked copy (safekeeping::prepareRestore) in one
    // rename; the old file's log files go with it. The connection is open again afterwards.
    void replaceWith(const std::filesystem::path& checkedCopy);
    // Opens a copy of a database file that no program is using, checks it fully and leaves it
    // without a log (rollback journal). Returns its layout version; throws a Failure naming
    // `shownName` when it is not ours, damaged or of a newer layout.
    static int checkCopy(const std::filesystem::path& copy, const std::string& shownName);
    // The version of the program that last opened a checked copy ("1.0.0"), or "" when the
    // file is older than the versions that record themselves.
    static std::string madeByVersion(const std::filesystem::path& checkedCopy);
    // The version of the program recorded in the open file (this program's, once open).
    std::string recordedProgramVersion();

    // The one way to open a table for walking: a query "select * from <table>" with optional
    // " where ..." (values as ? placeholders) and " order by ..." parts. Rows come in table
    // order unless the query orders them; ties keep table order.
    Recordset dkb(std::string_view query, const std::vector<Value>& params = {});

    // One statement with bound values; returns the number of rows changed.
    int exec(std::string_view sql, const std::vector<Value>& params = {});
    // Any query, all rows.
    std::vector<std::vector<Value>> select(std::string_view sql,
                                           const std::vector<Value>& params = {});
    // Several statements with no values, for setting up test data.
    void execScript(std::string_view sql);
    // A query's rows with each value in SQLite's own text form, Null as nullopt.
    std::vector<std::vector<std::optional<std::string>>> selectText(std::string_view sql);

    // One user action: everything done inside commits together or not at all. Nested calls
    // join the outer action; a failure inside rolls back to where the nested call began.
    template <class F>
    decltype(auto) transaction(F&& f);
    bool inTransaction() const { return depth_ > 0; }

    // Every committed write is announced to `changes` by the family of the tables written
    // (schema::changeOf), once per family and action, after the commit; a rolled-back action
    // announces nothing. A restored file announces every family.
    void announceTo(ChangeNotifier* changes) { changes_ = changes; }

    // Two texts in the order a Chinese column (COLLATE ZH) sorts them: below 0, 0 (the same
    // bytes) or above 0.
    int compareText(std::string_view a, std::string_view b) const;

    // Deletes every row of a table.
    void emptyTable(std::string_view table);
    // Puts a value into the first row whose cell in the column is Null (or, when blankIsFree,
    // the empty text); appends a row when there is none. Returns the row's rowid.
    std::int64_t putFirstFree(std::string_view table, std::string_view column, const Value& value,
                              bool blankIsFree = false);
    // Removes the first occurrence of a value from a packed column: the later cells of that
    // column, together with the cells of the companion columns in the same rows, move one row
    // up, and the last row's cells become Null. Returns false when the value is not there.
    bool removePacked(std::string_view table, std::string_view column, const Value& value,
                      const std::vector<std::string>& companions = {});

  private:
    friend class Recordset;
    friend class Transaction;
    Store() = default;
    sqlite3_stmt* prepare(const std::string& sql);
    void bind(sqlite3_stmt* st, const std::vector<Value>& params);
    Value column(sqlite3_stmt* st, int i);
    [[noreturn]] void fail(const std::string& what);
    void connect(const std::filesystem::path& file, bool create);
    void disconnect();
    // "" when the file reads and passes the check, else what went wrong.
    std::string readAndCheck(bool full, int* code);
    void useLog();
    // The steps of open(), in their order (the checks of the directory and the file, and the
    // setting aside of logs, need no connection and live beside open() in store.cpp).
    // Take the lock: one copy of the program per directory, and the directory must be writable.
    void takeLock(const std::filesystem::path& directory);
    // Connect and key: the file, or for a new database the name it is built under (returned).
    std::filesystem::path connectAndKey(const std::filesystem::path& directory, bool exists);
    // Check the file (fully when recovering an interrupted run, whose copies lie in `aside`),
    // fall back to the file without the log when the log does not fit, or refuse it.
    void checkOrRecover(const std::optional<std::filesystem::path>& aside);
    // Recover: put back the file as it was without the log; "" when it then passes the check.
    std::string putBackWithoutLog(const std::filesystem::path& aside, const std::string& logProblem,
                                  int* code);
    // Check the layout version (user_version): refuses a newer one, returns it.
    std::int64_t checkVersion();
    // Create or migrate the layout; refuses another program's database that shares our key.
    void createOrMigrate(bool exists, std::int64_t version);
    // Before an older layout is brought up to ours: an automatic backup of the file as it was,
    // and a notice naming it. A backup that cannot be made stops the opening, the file as it was.
    void backUpBeforeUpgrade(std::int64_t version);
    // Writes this program's version into 程序版本 when the file holds another.
    void recordProgramVersion();
    // Rename a newly built database to its own name and reconnect.
    void moveNewFileIntoPlace(const std::filesystem::path& directory,
                              const std::filesystem::path& target);
    const schema::Table& table(std::string_view name) const;
    void begin();
    void commit();
    void rollback();
    static void rowWritten(void* self, int op, const char* database, const char* table,
                           long long rowid);
    void announcePending();
    static int authorize(void* self, int action, const char* table, const char*, const char*,
                         const char*);

    sqlite3* db_ = nullptr;
    UCollator* collator_ = nullptr;
    os_files::FileLock lock_;  // one copy of the program per directory
    int depth_ = 0;
    std::filesystem::path file_;
    std::vector<std::string> notices_;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
    ChangeNotifier* changes_ = nullptr;
    std::array<bool, kChangeFamilies> pending_{};
    bool dropping_ = false;  // a DROP TABLE is being prepared
};

// Scope of one user action; rolls back unless commit() was called.
class Transaction {
  public:
    explicit Transaction(Store& store) : store_(store) { store_.begin(); }
    ~Transaction() {
        if (!done_) {
            try {
                store_.rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        store_.commit();
        done_ = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

  private:
    Store& store_;
    bool done_ = false;
};

template <class F>
decltype(auto) Store::transaction(F&& f) {
    Transaction t(*this);
    if constexpr (std::is_void_v<decltype(f())>) {
        f();
        t.commit();
    } else {
        decltype(auto) r = f();
        t.commit();
        return r;
    }
}

}  // namespace daike
