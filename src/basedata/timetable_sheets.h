// The whole school's timetable (总课表) read from the school's own spreadsheet, in any of the
// four layouts schools and timetabling programs write, and checked before anything is changed.
// The layout is found from the sheets; the office may choose another.
//
//   按教师    one row per teacher: a name column, then the 30 slot columns (周一1 … 周五6, or
//             星期一第1节 …; the header names the slot); a cell holds a class and a subject in
//             any order, two lessons separated by a line break or "/".
//   按班级    one row per class: a class column, then the slot columns; a cell holds a subject
//             and its teacher ("语文 张三", "语文/张三", "语文(张三)", "语文\n张三").
//   每班一表  one sheet, or one block under a title row ("一(1)班课表"), per class: rows are the
//             periods, columns 周一 … 周五; cells as in 按班级.
//   科目总表  按班级 or 每班一表 with subjects only, plus a sheet 任课安排 (rows classes,
//             columns subjects, cells teachers) saying who teaches each subject in each class.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basedata/timetable_import.h"
#include "documents/spreadsheet.h"

namespace daike::timetable_sheets {

enum class Layout { ByTeacher, ByClass, ClassSheets, SubjectsAndAssignments };
inline constexpr Layout kLayouts[] = {Layout::ByTeacher, Layout::ByClass, Layout::ClassSheets,
                                      Layout::SubjectsAndAssignments};

// "按教师", "按班级", "每班一表", "科目总表 + 任课安排".
const char* layoutName(Layout layout);

// What the school already knows, against which the sheet is checked.
struct School {
    std::vector<std::string> teachers;  // 教师姓名, stored order
    std::vector<std::string> classes;   // 班级; empty: every well-formed class name is accepted
    std::vector<std::string> subjects;  // the courses of every grade (开设课程), for telling a
                                        // subject from a teacher's name in a cell
};

// Something in the sheet the office should know before the timetable is replaced.
struct Problem {
    enum class Kind {
        UnknownClass,    // a class the school does not have: the lesson is left out
        Unreadable,      // a cell that cannot be read as lessons: left out
        TeacherTwice,    // one teacher in two classes at the same weekday and period: both kept
        ClassTwice,      // one class with two lessons at the same weekday and period: both kept
        UnknownTeacher,  // a teacher not in the teacher list: kept only if the office adds him
        NoTeacher,  // 科目总表: 任课安排 names nobody for the class and subject: left out
    } kind = Kind::Unreadable;
    std::string sheet;  // the sheet's name
    int row = 0;        // as the spreadsheet numbers them, from 1; 0 when not one cell
    int column = 0;     // from 1 (A = 1)
    std::string text;   // what is wrong, in Chinese, without the position
    // "第N行第M列：text"; with `sheetName`, "工作表“name”第N行第M列：text". Without a cell,
    // only the text (after the sheet's name when asked for).
    std::string line(bool sheetName) const;
};

struct Reading {
    Layout layout = Layout::ByTeacher;
    // Every lesson read, in the order of the sheet (the sheet's rows, then its slots); a lesson
    // left out by a problem is not here.
    std::vector<timetable_import::LessonRow> lessons;
    std::vector<Problem> problems;  // in the order of the sheet
    // Teachers the sheet names that the teacher list does not hold, in order of first
    // appearance. Their lessons are in `lessons`; the office decides whether they are added.
    std::vector<std::string> newTeachers;
    // The sheets that were read (for the window and the problems' positions).
    std::vector<std::string> sheetsRead;
};

// The layout of the workbook, or nothing when no sheet looks like a timetable. A sheet named
// 按教师 or 按班级 is taken as that layout before any other (our own export has both, and sheets
// per teacher and per class besides).
std::optional<Layout> detect(const spreadsheet::Workbook& book);

// Reads the workbook in that layout and checks every lesson against the school. Writes nothing.
// A workbook that holds no lesson in that layout gives no lessons and one problem saying so.
Reading read(const spreadsheet::Workbook& book, Layout layout, const School& school);

// ---- The pieces, for the tests and the window ----------------------------------------------

// A class name in any of the forms schools write, as the school stores it: "一(1)", "一（1）",
// "1(1)", "一年级1班", "一年1班", "一1班", "(一年级1班)", "一(10)" → "一(1)" … "一(10)". Nothing
// when the text is no class name.
std::optional<std::string> className(std::string_view text);

// The weekday (1-5) and period (1-6) a slot header names: "周一1", "周一第1节", "星期一第一节",
// "一1", "1-1", "Mon1"; nothing for anything else (早读, 午休, 课外活动, a name column).
struct Slot {
    int weekday = 0;
    int period = 0;
    bool operator==(const Slot&) const = default;
};
std::optional<Slot> slotOf(std::string_view header);

struct CellLesson {
    std::string className;  // as className() gives it; a well-formed name of no primary
                            // school ("七(1)", "一(0)") in the same form, for read() to report
    std::string subject;
    std::string teacher;  // 按班级 / 每班一表 cells only
    bool operator==(const CellLesson&) const = default;
};
// A 按教师 cell: one or more lessons, each a class and a subject in either order. Nothing when
// the cell cannot be read (an empty cell gives an empty list, not nothing).
std::optional<std::vector<CellLesson>> teacherCell(std::string_view text);
// A 按班级 / 每班一表 cell: a subject and its teacher; with `subjectsOnly` (科目总表) a subject.
std::optional<CellLesson> classCell(std::string_view text, const School& school, bool subjectsOnly);

}  // namespace daike::timetable_sheets
