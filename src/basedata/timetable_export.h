// The whole school's timetable written as one workbook: the sheets 按教师 and 按班级 (one row per
// teacher / class, one column per slot), which the timetable import reads back, then one
// printable sheet per teacher and one per class.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace daike {

class Store;

namespace timetable_export {

inline constexpr const char* kByTeacherSheet = "按教师";
inline constexpr const char* kByClassSheet = "按班级";
inline constexpr const char* kSuggestedFile = "课表.xlsx";

// The name of the slot column: "周一1" … "周五6".
std::string slotHeader(int weekday, int period);

// Sheet names as a spreadsheet accepts them: at most 31 characters, none of []:*?/\ (each
// replaced by "_"), no apostrophe at either end, and each name once (letters compared without
// case): a name already given gets "(2)", "(3)" … at its end, shortened to make room.
class SheetNames {
  public:
    std::string add(std::string_view wanted);

  private:
    std::set<std::string> used_;  // lower-cased
};

// Writes the workbook from 任课情况, 教师姓名, 班级 and the period times. The file is written
// beside the target first and put in place only when whole; throws Failure with a Chinese
// message when it cannot be written.
void write(Store& store, const std::filesystem::path& file);

}  // namespace timetable_export
}  // namespace daike
