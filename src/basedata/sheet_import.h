// 导入总课表: the whole timetable replaced from the school's spreadsheet. The file is read and
// checked first (nothing written), the window shows the lessons and the problems, and only 确定
// backs up and writes, in one transaction: the new names the office agreed to add, then the
// timetable, today's covered lessons keeping their marks.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "basedata/timetable_documents.h"
#include "basedata/timetable_import.h"
#include "basedata/timetable_sheets.h"
#include "documents/spreadsheet.h"
#include "store/refusal.h"

namespace daike {

class Store;

namespace sheet_import {

// The details file, beside the database, as the teachers' documents import writes it.
inline constexpr const char* kDetailsFile = timetable_import::kDetailsFile;

// What the checks compare the sheet with: the teacher list, the class list, every course.
timetable_sheets::School schoolOf(Store& store);

// A file read once; the office may then try other layouts on it without reading it again.
struct Loaded {
    std::filesystem::path file;
    spreadsheet::Workbook book;
    std::optional<timetable_sheets::Layout> found;  // what the sheets look like, if anything
};
// Throws Failure (with the file's name) when the file cannot be read as a spreadsheet.
Loaded load(const std::filesystem::path& file);

struct Preview {
    timetable_sheets::Layout layout = timetable_sheets::Layout::ByTeacher;
    bool chosen = false;  // the office chose the layout (else it was found)
    timetable_sheets::Reading reading;
    // "识别为：按教师（.xlsx）", "按班级（由您选择，.csv，GBK 编码）".
    std::string description(const Loaded& loaded) const;
    // Every problem as a line, positions named as the spreadsheet numbers its rows and columns.
    std::vector<std::string> problemLines() const;
};

inline constexpr const char* kNoLayout =
    "没有在这个文件中找到课表。请在“表格格式”中选择它的格式再试。";

// Reads the loaded workbook in the chosen layout, or the one found. Refused with kNoLayout when
// nothing was chosen and nothing found.
Checked<Preview> check(const Loaded& loaded, std::optional<timetable_sheets::Layout> chosen,
                       const timetable_sheets::School& school);

// The plan 确定 writes: every lesson read, the new teachers' ones only when they are added;
// today's covers counted against it.
timetable_import::ImportPlan planOf(Store& store, const Preview& preview, bool addNewTeachers);

// The text of 课务导入明细.txt: the file, the layout, the problems and the lessons per teacher.
std::string details(const Loaded& loaded, const Preview& preview,
                    const timetable_import::ImportPlan& plan);

struct Outcome {
    timetable_import::ImportPlan plan;
    std::vector<std::string> added;  // names added to 教师姓名, in the sheet's order
};

// Writes the plan: `backup` first (a failed backup writes nothing), then in one transaction the
// new names (when asked) and the whole timetable.
Outcome apply(Store& store, const Preview& preview, bool addNewTeachers, const BackupStep& backup);

// What the office reads when it is done, ending with the question whether the free-teacher table
// and the daily counts are to be made again now.
std::string doneQuestion(const Outcome& outcome, const std::string& backupLine,
                         const std::string& detailsFile);

}  // namespace sheet_import
}  // namespace daike
