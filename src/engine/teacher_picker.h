// The teacher picker's list: every teacher of 教师姓名 in ascending order of 姓名.
#pragma once

#include <string>
#include <vector>

namespace daike {

class Store;

namespace picker {

// The grid has 54 places; a longer list gets more rows.
inline constexpr int kPlaces = 54;
inline constexpr int kColumns = 6;

// xsjs: the names in the order of the grid.
std::vector<std::string> teacherNames(Store& store);

// The number of places the grid needs for a list.
int placesFor(std::size_t names);

}  // namespace picker
}  // namespace daike
