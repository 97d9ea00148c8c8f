// The where part of a query built from the fields a caller asked for, with its values bound.
// Only the table modules of the store use it; column names are the store's own. A module states
// the columns of its own; the columns every table of lessons and covers shares are here.
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
    // The place of a lesson: weekday, class, period and subject, the columns by which the
    // timetable (任课情况), the queue (需代课目情况) and the cover records find one, named alike
    // in all of them. Any filter with the fields weekday, cls, period and subject.
    template <class Filter>
    Where& place(const Filter& f) {
        return add("星期", f.weekday)
            .add("班级", f.cls)
            .add("节次", f.period)
            .add("课目", f.subject);
    }
    // A lesson of the timetable or the queue: its teacher (姓名), then its place.
    template <class Filter>
    static Where lesson(const Filter& f) {
        Where w;
        w.add("姓名", f.teacher).place(f);
        return w;
    }

    const std::string& sql() const { return sql_; }
    const std::vector<Value>& values() const { return values_; }

  private:
    std::string sql_;
    std::vector<Value> values_;
};

}  // namespace daike
