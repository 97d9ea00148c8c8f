// 班级 (the school's classes, grade by grade) and 开设课程 (the courses offered: every course
// entered in the first column, then one packed column per grade).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "store/week.h"

namespace daike {

class Store;

namespace classes {

// The class names in table order (Null as the empty text).
std::vector<std::string> names(Store& store);
void replaceAll(Store& store, const std::vector<std::string>& names);

}  // namespace classes

namespace courses {

// Enters a course and offers it in the grades ticked (index grade - 1).
void add(Store& store, const std::string& name, const std::array<bool, week::kGrades>& grades);
// Replaces the table: the courses entered, one a row in the first column, and each grade's
// courses (index grade - 1) packed from the top of its column. The table is as long as the
// longest of these lists; cells below a shorter list are Null.
void replaceAll(Store& store, const std::vector<std::string>& entered,
                const std::array<std::vector<std::string>, week::kGrades>& byGrade);
// A grade's courses (index 0 for 一年级), from the top to the first empty cell; none at all
// when no course was ever entered.
std::optional<std::vector<std::string>> ofGrade(Store& store, int grade);

}  // namespace courses
}  // namespace daike
