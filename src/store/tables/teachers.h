// 教师姓名: the teachers, one row each, with the class a teacher is head teacher of and the
// classes in which he teaches each main subject (class lists joined by ",").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/week.h"

namespace daike {

class Store;

struct TeacherRow {
    std::int64_t row = 0;               // where it is stored; 0 for one not stored yet
    std::optional<std::string> name;    // 姓名; Null in a row typed in by other means
    std::optional<std::string> headOf;  // 班主任
    std::array<std::optional<std::string>, week::kMainSubjects> subjectClasses;  // 语文 … 科学

    std::string nameText() const { return name.value_or(""); }
    // The five class values in stored order: head teacher's class, then the four subjects.
    static constexpr int kClassValues = 1 + week::kMainSubjects;
    const std::optional<std::string>& classValue(int k) const {
        return k == 0 ? headOf : subjectClasses[static_cast<std::size_t>(k - 1)];
    }
    std::optional<std::string>& classValue(int k) {
        return k == 0 ? headOf : subjectClasses[static_cast<std::size_t>(k - 1)];
    }
};

namespace teachers {

// Every row in table order.
std::vector<TeacherRow> all(Store& store);
// The names in table order (Null as the empty text).
std::vector<std::string> names(Store& store);
// The names in Chinese (pinyin) order, as the teacher picker lists them.
std::vector<std::string> namesInChineseOrder(Store& store);
// The first row of exactly this name.
std::optional<TeacherRow> find(Store& store, std::string_view name);
bool exists(Store& store, std::string_view name);

// Replaces every row with these, in this order.
void replaceAll(Store& store, const std::vector<TeacherRow>& rows);
// Appends a row for a new teacher: the name, no classes.
void add(Store& store, const std::string& name);
// Writes name and class values of a stored row (row.row).
void update(Store& store, const TeacherRow& row);

}  // namespace teachers
}  // namespace daike
