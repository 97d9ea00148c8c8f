// Shared helpers for the unit tests: a fresh program directory with its database.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "store/store.h"

namespace daike::testing {

// A temporary program directory, removed with everything in it at the end of the test.
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
    std::string all(const std::string& sql) {
        std::string out;
        for (const auto& row : store->selectText(sql)) {
            if (!out.empty()) out += ";";
            for (std::size_t i = 0; i < row.size(); ++i) {
                if (i) out += "|";
                out += row[i] ? *row[i] : "NULL";
            }
        }
        return out;
    }
};

// A database with the query helpers the logic tests use.
struct TempStore : Db {
    const std::filesystem::path& dir() const { return Db::dir.path(); }
    // One column of a query's rows as text, Null as "NULL", joined by "|".
    std::string column(const std::string& sql) {
        std::string out;
        for (const auto& row : store->selectText(sql)) {
            if (!out.empty()) out += "|";
            out += row[0] ? *row[0] : "NULL";
        }
        return out;
    }
    long long count(const std::string& table) {
        return store->select("SELECT count(*) FROM \"" + table + "\"")[0][0].toInt();
    }
};

// A test with a fresh database of its own.
class StoreTest : public ::testing::Test {
protected:
    Store& store() { return *db_; }
    // One column of a query, each value in text form, joined by ",".
    std::string column(const std::string& sql) {
        std::string out;
        for (const auto& row : db_->selectText(sql)) {
            if (!out.empty()) out += ",";
            out += row[0] ? *row[0] : "NULL";
        }
        return out;
    }

private:
    Db db_;
};

}  // namespace daike::testing
