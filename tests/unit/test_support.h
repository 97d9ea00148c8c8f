// Shared helpers for the unit tests: a fresh program directory with its database, a school
// built row by row, and a query's rows as one text to compare.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "store/store.h"

namespace daike::testing {

// The rows of a query in SQLite's text form as one text: fields joined by "|", rows by ";"
// ("a|b;c|d"), Null as "NULL", "" for no row.
inline std::string joinRows(Store& store, const std::string& sql,
                            const std::string& rowSeparator = ";",
                            const std::string& fieldSeparator = "|") {
    std::string out;
    bool first = true;
    for (const auto& row : store.selectText(sql)) {
        if (!first) out += rowSeparator;
        first = false;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i) out += fieldSeparator;
            out += row[i] ? *row[i] : "NULL";
        }
    }
    return out;
}

// The first field of every row, joined by the separator, Null as "NULL".
inline std::string joinColumn(Store& store, const std::string& sql, const std::string& separator) {
    std::string out;
    bool first = true;
    for (const auto& row : store.selectText(sql)) {
        if (!first) out += separator;
        first = false;
        out += row[0] ? *row[0] : "NULL";
    }
    return out;
}

// A school as a test needs it, one row at a time, written by build() in one transaction:
//   SchoolBuilder(store).teacher("张老师").tally("赵三", 2, 7)
//       .lesson("张老师", 3, "一(1)", 2, "语文").queued("张老师", 3, "一(1)", 2, "语文").build();
// Values go in as given (a Null where the table would hold one), so a test states exactly
// the rows it reads back.
class SchoolBuilder {
  public:
    explicit SchoolBuilder(Store& store) : store_(store) {}
    SchoolBuilder(const SchoolBuilder&) = delete;
    SchoolBuilder& operator=(const SchoolBuilder&) = delete;
    ~SchoolBuilder() {
        if (!pending_.empty()) ADD_FAILURE() << "a SchoolBuilder was never built";
    }

    // A row of any table, every column in stored order.
    SchoolBuilder& row(const std::string& table, std::vector<Value> values) {
        std::string marks;
        for (std::size_t i = 0; i < values.size(); ++i) marks += i ? ",?" : "?";
        pending_.emplace_back("INSERT INTO \"" + table + "\" VALUES (" + marks + ")",
                              std::move(values));
        return *this;
    }
    // A row of the named columns only; the others stay Null.
    SchoolBuilder& cells(const std::string& table,
                         const std::vector<std::pair<std::string, Value>>& cells) {
        std::string columns, marks;
        std::vector<Value> values;
        for (const auto& [column, value] : cells) {
            columns += (columns.empty() ? "\"" : ",\"") + column + "\"";
            marks += marks.empty() ? "?" : ",?";
            values.push_back(value);
        }
        pending_.emplace_back(
            "INSERT INTO \"" + table + "\" (" + columns + ") VALUES (" + marks + ")",
            std::move(values));
        return *this;
    }

    // On the teachers' list (教师姓名) by name alone.
    SchoolBuilder& teacher(const std::string& name) { return cells("教师姓名", {{"姓名", name}}); }
    SchoolBuilder& teachers(std::initializer_list<const char*> names) {
        for (const char* n : names) teacher(n);
        return *this;
    }
    // With the head teacher's class and the class lists of 语文, 数学, 英语, 科学.
    SchoolBuilder& teacher(const std::string& name, std::vector<Value> classes) {
        classes.emplace(classes.begin(), name);
        return row("教师姓名", std::move(classes));
    }
    // 代课节数: today's and the term's covers.
    SchoolBuilder& tally(const std::string& name, int today = 0, int term = 0) {
        return row("代课节数", {Value(name), Value(today), Value(term)});
    }
    // Tally rows of no cover yet.
    SchoolBuilder& tallies(std::initializer_list<const char*> names) {
        for (const char* n : names) tally(n);
        return *this;
    }
    // 任课情况, unmarked unless the marks (标记, 已代标记) are given.
    SchoolBuilder& lesson(const std::string& teacher, int weekday, const std::string& cls,
                          int period, const std::string& subject, Value dealtWith = {},
                          Value covered = {}) {
        return row("任课情况", {Value(teacher), Value(weekday), Value(cls), Value(period),
                                Value(subject), std::move(dealtWith), std::move(covered)});
    }
    // 需代课目情况: a lesson waiting for cover.
    SchoolBuilder& queued(const std::string& teacher, int weekday, const std::string& cls,
                          int period, const std::string& subject) {
        return row("需代课目情况",
                   {Value(teacher), Value(weekday), Value(cls), Value(period), Value(subject)});
    }
    // A cover record of one of 临时代课记录, 代课记录, 当天代课记录.
    SchoolBuilder& cover(const std::string& table, const std::string& absent,
                         const std::string& reason, const std::string& substitute,
                         const std::string& week, int weekday, const std::string& cls,
                         const std::string& subject, int period) {
        return row(table, {Value(absent), Value(reason), Value(substitute), Value(week),
                           Value(weekday), Value(cls), Value(subject), Value(period)});
    }
    // A row of 代课教师: the names (and free-period flags) by column ("2", "22").
    SchoolBuilder& away(const std::vector<std::pair<std::string, Value>>& cells) {
        return this->cells("代课教师", cells);
    }
    // 开学第一天, as the office types it ("2024-03-04").
    SchoolBuilder& termStart(const std::string& date) { return row("开学第一天", {Value(date)}); }
    // Anything else, as SQL.
    SchoolBuilder& sql(const std::string& script) {
        pending_.emplace_back(script, std::nullopt);
        return *this;
    }

    void build() {
        auto pending = std::move(pending_);
        pending_.clear();
        store_.transaction([&] {
            for (const auto& [sql, values] : pending) {
                if (values)
                    store_.exec(sql, *values);
                else
                    store_.execScript(sql);
            }
        });
    }

  private:
    Store& store_;
    std::vector<std::pair<std::string, std::optional<std::vector<Value>>>> pending_;
};

// A temporary program directory, removed with everything in it at the end of the test.
// A file's bytes, "" when it cannot be read; and a file made of the given bytes.
inline std::string bytesOf(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("daike-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// A new database in its own directory.
struct Db {
    TempDir dir;
    std::unique_ptr<Store> store = Store::open(dir.path());
    Store& operator*() { return *store; }
    Store* operator->() { return store.get(); }
    // The value of the first column of the first row of a query, as text ("NULL" for Null,
    // "" when there is no row).
    std::string one(const std::string& sql) {
        auto rows = store->selectText(sql);
        if (rows.empty()) return "";
        return rows[0][0] ? *rows[0][0] : "NULL";
    }
    // All rows, columns joined by "|" and rows by ";".
    std::string all(const std::string& sql) { return joinRows(*store, sql); }
};

// A database with the query helpers the logic tests use.
struct TempStore : Db {
    const std::filesystem::path& dir() const { return Db::dir.path(); }
    // One column of a query's rows as text, Null as "NULL", joined by "|".
    std::string column(const std::string& sql) { return joinColumn(*store, sql, "|"); }
    long long count(const std::string& table) {
        return store->select("SELECT count(*) FROM \"" + table + "\"")[0][0].toInt();
    }
};

// A test with a fresh database of its own.
class StoreTest : public ::testing::Test {
  protected:
    Store& store() { return *db_; }
    // One column of a query, each value in text form, joined by ",".
    std::string column(const std::string& sql) { return joinColumn(*db_, sql, ","); }

  private:
    Db db_;
};

}  // namespace daike::testing
