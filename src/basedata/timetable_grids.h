// The timetable as week grids: one per class and one per teacher, for the printed timetables
// and the exported workbook.
#pragma once

#include <string>
#include <vector>

#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike {

struct WeekGrid {
    std::string name;   // the class "一(1)" or the teacher
    std::string title;  // "一(1)班课表" / "张三老师课表"
    // cells[period - 1][weekday - 1]: a class's cell "语文\n张三", a teacher's "一(1)语文"; two
    // lessons in one slot are joined by "\n" in table order.
    week::PerPeriod<week::PerDay<std::string>> cells{};
    int lessons = 0;

    const std::string& at(int weekday, int period) const {
        return cells[static_cast<std::size_t>(period - 1)][static_cast<std::size_t>(weekday - 1)];
    }
};

// How a lesson reads in a class's cell: the subject, then the teacher after this separator.
inline constexpr const char* kClassCellLines = "\n";
inline constexpr const char* kClassCellOneLine = " ";

// Every class of the list (the empty ones too) in list order, then the classes found only in
// the lessons, in classBefore order. Lessons off the grid, or without a class, are left out.
std::vector<WeekGrid> classGrids(const std::vector<TimetableRow>& rows,
                                 const std::vector<std::string>& classes,
                                 const char* teacherSeparator = kClassCellLines);

// Every teacher of the list in list order (the same name once), then the names found only in
// the lessons in order of their first lesson. Lessons off the grid, or without a teacher, are
// left out.
// A lesson reads "一(1)语文", or with a separator "一(1)" + separator + "语文".
std::vector<WeekGrid> teacherGrids(const std::vector<TimetableRow>& rows,
                                   const std::vector<std::string>& teachers,
                                   const char* subjectSeparator = "");

// Whether any lesson is on the grid: a timetable to print or export.
bool anyOnGrid(const std::vector<TimetableRow>& rows);

}  // namespace daike
