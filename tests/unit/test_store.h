// A fresh database in its own temporary directory for each test.
#pragma once

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "store/store.h"

namespace daike::testing {

class TempStore {
  public:
    TempStore() {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("daike-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
        store_ = Store::open(dir_);
    }
    ~TempStore() {
        store_.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    Store& operator*() { return *store_; }
    Store* operator->() { return store_.get(); }
    const std::filesystem::path& dir() const { return dir_; }

    // One column of a query's rows as text, Null as "NULL", joined by "|".
    std::string column(const std::string& sql) {
        std::string out;
        for (const auto& row : store_->selectText(sql)) {
            if (!out.empty()) out += "|";
            out += row[0] ? *row[0] : "NULL";
        }
        return out;
    }
    long long count(const std::string& table) {
        return store_->select("SELECT count(*) FROM \"" + table + "\"")[0][0].toInt();
    }

  private:
    std::filesystem::path dir_;
    std::unique_ptr<Store> store_;
};

}  // namespace daike::testing
