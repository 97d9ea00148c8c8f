// The weekly timetable 任课情况 entered by hand, one teacher's week at a time. A week grid has
// week::kSlots cells: cell week::slotIndex(星期, 节次).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "store/refusal.h"
#include "store/week.h"

namespace daike {

class Store;

inline constexpr int kGridCells = week::kSlots;

struct GridCell {
    std::string subject;    // 课目
    std::string className;  // 班级
};

struct TeacherWeek {
    std::array<GridCell, kGridCells> cells;
    int lessons = 0;      // rows of the teacher
    int outsideGrid = 0;  // rows whose weekday or period has no cell
};

// The teacher's lessons on the grid; a later row for the same cell overwrites an earlier one.
TeacherWeek teacherWeek(Store& store, const std::string& teacher);

// The lesson of another row that keeps a class busy at a cell.
struct Clash {
    std::string teacher;
    int weekday = 0;
    int period = 0;
    std::string className;
};

// The line shown for a clash: 张三老师星期一第1节在一(1)班中已有课务！
std::string clashLine(const Clash& c);

// The two clash lines of the window: the first clashes' lines; with more than two, the second
// line ends with how many more there are: "（另有N条）".
std::vector<std::string> clashLines(const std::vector<Clash>& clashes);

struct SaveResult {
    std::vector<int> saved;      // the cells added, in order
    int clashCell = -1;          // the cell where saving stopped, or -1
    std::vector<Clash> clashes;  // the lessons already there
};

// Adds a lesson of the teacher for the class and subject in every selected cell, in cell order.
// A cell whose class already has a lesson at that weekday and period stops the walk: the cells
// before it stay added, it and the later ones are not. Refused, with nothing added, when cells
// are selected but the teacher, the class or the subject is empty.
Checked<SaveResult> saveLessons(Store& store, const std::string& teacher,
                                const std::string& className, const std::string& subject,
                                const std::vector<int>& cells);

// Deletes the lessons of the selected cells, each shown with its subject and class: the one row
// of that class at that weekday and period, or, when there are several, those whose subject and
// class are the cell's. Returns the number of rows deleted.
int deleteLessons(Store& store, const std::vector<std::pair<int, GridCell>>& cells);

}  // namespace daike
