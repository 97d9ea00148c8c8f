// A fresh database in a directory of its own for each test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "store/store.h"

namespace daike::testing {

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::atomic<int> serial{0};
        dir_ = std::filesystem::temp_directory_path() /
               ("daike-unit-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        store_ = Store::open(dir_);
    }
    void TearDown() override {
        store_.reset();
        std::filesystem::remove_all(dir_);
    }
    Store& store() { return *store_; }
    // One column of a query, each value in text form, joined by ",".
    std::string column(const std::string& sql) {
        std::string out;
        for (const auto& row : store_->selectText(sql)) {
            if (!out.empty()) out += ",";
            out += row[0] ? *row[0] : "NULL";
        }
        return out;
    }

  private:
    std::filesystem::path dir_;
    std::unique_ptr<Store> store_;
};

}  // namespace daike::testing
