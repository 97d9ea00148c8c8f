// The timetable read from the teachers' own documents: one document per teacher in the folder
// 任课表, whose first table holds the week (rows are periods 1-6, columns Monday to Friday).
// Each lesson cell holds free text such as "科学(六年2班)"; three character positions counted
// from the right end of the cell tell where the grade and the class number stand.
//
// The documents are read through TimetableDocuments, so that the rules here know nothing of
// file formats; basedata/timetable_documents.h reads the real files.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/refusal.h"
#include "store/week.h"

namespace daike {

class Store;
struct TimetableRow;

namespace timetable_import {

inline constexpr int kPeriods = week::kPeriods;  // rows of the table
inline constexpr int kWeekdays = week::kDays;    // columns of the table

// The texts of the 30 cells of a teacher's table, [period - 1][weekday - 1], as read.
using CellTexts = std::array<std::array<std::string, kWeekdays>, kPeriods>;

// The three boxes of "关键字符位置设定", each counted from the right end of a cleaned cell, the
// last character being 1.
struct KeyPositions {
    int grade = 0;        // Text1: the grade character
    int classNumber = 0;  // Text2: the class-number character
    int length = 0;       // Text3: the whole class information
};

// A box read as the office's form reads it: the leading number (a fraction rounded), "" or no
// number give 0.
int positionValue(std::string_view box);
KeyPositions positionsFrom(std::string_view text1, std::string_view text2, std::string_view text3);

inline constexpr const char* kPositionTooLarge = "位置信息的数值可能大于整个字符串的字符总数";
inline constexpr const char* kAllRead = "所有课目已输入！";
inline constexpr const char* kNoTeachers = "教师姓名还未输入，不能输入课务情况！";
inline constexpr const char* kNotFound = "找不到该文件！";

// The cell marks, line breaks and blanks a cell carries go; brackets and digits written
// full-width become ordinary ones (a full-width zero stays).
std::string cleanCell(std::string_view raw);

// A cleaned cell longer than 3 characters holds a lesson; shorter ones (早读, 午休, "") do not.
bool isLessonCell(std::string_view cleaned);

struct Reading {
    std::string subject;    // everything left of the class information
    std::string className;  // grade + "(" + class number + ")"
    bool operator==(const Reading&) const = default;
};

// Reads a text with the three positions exactly as the tests of the panel show it: no
// two-digit class numbers, no grade digit turned into a Chinese one. Nothing when a position
// lies before the first character.
std::optional<Reading> readCell(std::string_view text, const KeyPositions& at);

// Reads a lesson cell as the import stores it. Beyond readCell: a class number of two digits
// (六年10班) is taken whole when the class-number position holds a digit with another digit
// just left of it and at least one character stands between the grade and class-number
// positions; the grade and length positions then move one place left. With chineseGrade a
// grade digit 1-6 becomes 一-六.
std::optional<Reading> readLesson(std::string_view cleaned, const KeyPositions& at,
                                  bool chineseGrade);

// The four samples of the picture above the sample test.
inline constexpr std::array<const char*, 4> kSamples = {"管理2(二年3班)", "劳动与技术(六年2班)",
                                                        "科学(六年2班)", "品德社会(四年3班)"};

struct SampleTest {
    std::vector<Reading> results;  // the samples read, in order, up to a failed one
    bool ok = false;               // false: show kPositionTooLarge
};
// The samples read as they stand (not cleaned).
SampleTest sampleTest(const KeyPositions& at);

// The office's own text of Text4, cleaned and read; refused with kPositionTooLarge when a
// position lies before its first character.
Checked<Reading> customTest(std::string_view text4, const KeyPositions& at);

// ---- Reading the teachers' documents --------------------------------------------------------

// One teacher's document as read: the cells, or a line saying why it could not be read.
struct TeacherDocument {
    std::string path;                // the file read, or looked for
    std::optional<CellTexts> cells;  // none when the document could not be read
    std::string problem;             // then: what to tell the office (path included)
};

class TimetableDocuments {
  public:
    virtual ~TimetableDocuments() = default;
    // The first table of the teacher's document; the name exactly as stored, blanks included.
    virtual TeacherDocument read(const std::string& teacher) = 0;
};

// Told after each teacher's document: percent done, rounded to a whole number (halves to the
// even one).
using Progress = std::function<void(int percent)>;
int percentDone(int done, int total);

// The teachers whose documents are read: 教师姓名 in stored order, rows without a name left
// out.
std::vector<std::string> importTeachers(Store& store);

// ---- The check pass -------------------------------------------------------------------------

struct CheckOutcome {
    enum class Kind {
        NoTeachers,    // kNoTeachers
        BadPositions,  // message: a key position is not set
        Unreadable,    // message: the document that could not be read, or a cell not read
        FirstLesson,   // lesson: the first lesson found, for Frame7
        NoLesson,      // kAllRead: no lesson cell in any document
    } kind = Kind::NoLesson;
    std::string message;
    Reading lesson;
    std::string teacher;
    int weekday = 0;
    int period = 0;
};

// Walks the documents teacher by teacher, each by weekday and then period, and stops at the
// first lesson cell, read as the import will read it (the grade as written). Writes nothing.
CheckOutcome checkPass(Store& store, const KeyPositions& at, TimetableDocuments& documents,
                       const Progress& progress = {});

// ---- The real import ------------------------------------------------------------------------

struct LessonRow {
    std::string teacher;
    int weekday = 0;
    int period = 0;
    std::string subject;
    std::string className;
    bool operator==(const LessonRow&) const = default;
};

// A lesson cell the positions could not read (text shorter than a position).
struct SkippedCell {
    std::string teacher;
    int weekday = 0;
    int period = 0;
    std::string text;
};

// A class given two or more lessons in one period.
struct DoubleLesson {
    std::string className;
    int weekday = 0;
    int period = 0;
    std::vector<std::string> lessons;  // "张三 科学", in import order
};

struct ImportPlan {
    int teachers = 0;
    std::vector<LessonRow> rows;  // teacher order, then weekday, then period
    std::vector<SkippedCell> skipped;
    std::vector<DoubleLesson> doubles;
    // Today's covered lessons as the documents were read: how many the new timetable holds
    // unchanged (they keep their marks), and those it no longer holds.
    int coveredKept = 0;
    std::vector<LessonRow> coveredGone;

    // The figures for the 确定/取消 question; `detailsFile` is where the details were put.
    std::string summary(const std::string& detailsFile) const;
    // Every skipped cell, every double lesson and the lessons per teacher, as lines of text.
    std::string details() const;
};

// Reads every teacher's document before anything is changed. Nothing is written. Refused
// without reading a document when there are no teachers (kNoTeachers) or a key position is not
// set; refused when any document could not be read, with one line for every such document.
Checked<ImportPlan> readDocuments(Store& store, const KeyPositions& at,
                                  TimetableDocuments& documents, const Progress& progress = {});

// Fills the plan's coveredKept and coveredGone from today's marks in the store.
void countTodaysCovers(Store& store, ImportPlan& plan);

// Today's marks carried over an import: each lesson of the old timetable with a mark gives its
// two marks to the first lesson of `fresh` equal to it in teacher, weekday, class, period and
// subject that has none yet (a lesson held twice keeps both covers). Returns the covered
// lessons that found no such lesson.
std::vector<LessonRow> carryTodaysMarks(const std::vector<TimetableRow>& old,
                                        std::vector<TimetableRow>& fresh);

// Replaces the whole timetable 任课情况 with the rows of a plan readDocuments accepted: `backup`
// runs first, then the rows are written in one transaction; a lesson that is the same as before
// keeps today's marks (carryTodaysMarks), so what was covered this morning is not offered
// again. When the backup throws, nothing is replaced.
void replaceTimetable(Store& store, const ImportPlan& plan, const BackupStep& backup);

}  // namespace timetable_import
}  // namespace daike
