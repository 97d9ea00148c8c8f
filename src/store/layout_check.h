// Whether a database file holds exactly the program's own layout: the tables, their columns in
// stored order with their declared types, the two timetable indexes, and nothing else. A file
// restored from elsewhere is trusted only when this finds no difference: a trigger or a view
// would run code the program never wrote, a missing or moved column makes the cover logic
// fail or read one field as another.
#pragma once

#include <string>

namespace daike {

class Store;

// "" when the open database has the layout of `version` (PRAGMA user_version) exactly, else
// the first difference in Chinese ("表“任课情况”缺少列“节次”", "多出触发器“t”（表“教师姓名”）" …).
// A file of layout 1 has every table but 代课酬金.
std::string layoutDifference(Store& store, int version);

}  // namespace daike
