// The teachers of the school, one row of 教师姓名 each, in the order they were typed.
#pragma once

#include <string>
#include <vector>

namespace daike {

class Store;

// The entry window has this many places.
inline constexpr int kTeacherPlaces = 64;

// Every stored name, in stored order.
std::vector<std::string> readTeacherNames(Store& store);

// Replaces the list with the names given, up to the first empty one, exactly as typed. The old
// list stays in place unless the new one is stored whole. Returns how many were stored.
int storeTeacherNames(Store& store, const std::vector<std::string>& boxes);

}  // namespace daike
