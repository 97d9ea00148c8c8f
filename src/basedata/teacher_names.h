// The teachers of the school, one row of 教师姓名 each, in the order they were typed.
#pragma once

#include <string>
#include <vector>

#include "store/refusal.h"

namespace daike {

class Store;

// The entry window has this many places.
inline constexpr int kTeacherPlaces = 64;

// Every stored name, in stored order.
std::vector<std::string> readTeacherNames(Store& store);

// The names storing would keep (up to the first empty place) must name each teacher once: a
// name typed twice, exactly or with other blanks at its ends (every look-up takes those for
// one teacher), is refused with the name and both places.
Checked<> checkTeacherNames(const std::vector<std::string>& boxes);

// Replaces the list with the names given, up to the first empty one, exactly as typed, in the
// order of the places. A teacher whose name stays on the list keeps the rest of the row (head
// teacher class and main-subject classes); a name removed takes its row along; a new name gets
// an empty row. A list refused by `checkTeacherNames` is neither backed up nor stored;
// otherwise `backup` runs first, and the old list stays in place unless the new one is stored
// whole. Returns how many were stored.
Checked<int> storeTeacherNames(Store& store, const std::vector<std::string>& boxes,
                               const BackupStep& backup);

// The names that storing would leave out: those typed after the first empty place.
std::vector<std::string> namesAfterFirstGap(const std::vector<std::string>& boxes);

}  // namespace daike
