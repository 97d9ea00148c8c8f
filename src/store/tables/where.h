// The where part of a query built from the fields a caller asked for, with its values bound.
// Only the table modules of the store use it; column names are the store's own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/value.h"

namespace daike {

class Where {
  public:
    template <class T>
    Where& add(const char* column, const std::optional<T>& value) {
        if (value) add(column, Value(*value));
        return *this;
    }
    Where& add(const char* column, Value value) {
        sql_ += sql_.empty() ? " WHERE " : " AND ";
        sql_ += std::string(column) + "=?";
        values_.push_back(std::move(value));
        return *this;
    }
    const std::string& sql() const { return sql_; }
    const std::vector<Value>& values() const { return values_; }

  private:
    std::string sql_;
    std::vector<Value> values_;
};

}  // namespace daike
