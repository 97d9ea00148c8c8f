// Who can cover a lesson, and in what order: the free teachers of the weekday and period, less
// the exempt ones and those away or already covering then, scored into 临时运算表 and read
// back with one fixed ordering.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "store/tables/candidates.h"
#include "store/tables/teachers.h"
#include "store/value.h"
#include "store/week.h"

namespace daike {

class Store;

namespace ranking {

// The classes of a class list of 教师姓名 (Null: none), read by splitting on ",", so that class
// numbers of two digits are read whole.
std::vector<std::string> classListEntries(const Value& list);

// 语数英科判定: whether a class list names the class exactly (一(1) is not 一(10)). Null and
// pieces cut short never match.
bool classListContains(const Value& list, std::string_view cls);

struct Affinity {
    std::string letters;  // "班" first for the head teacher, then 语 数 英 科 as they apply
    int mark = 0;         // 班幅标记: 2 head teacher, 1 main subject, 0 neither (left unset)
};

// 任课情况运算 (with fbzrbj for a teacher who is not the head teacher): a teacher's affinity
// with a class, from the teacher's 教师姓名 row.
Affinity affinity(const TeacherRow& teacher, std::string_view cls);
// The same from the row's values in stored order (姓名, 班主任, 语文, 数学, 英语, 科学).
Affinity affinity(const std::vector<Value>& teacherRow, std::string_view cls);
TeacherRow teacherOf(const std::vector<Value>& teacherRow);

// kdjs: empties 可代教师 and fills it with the teachers free in the slot (weekday, period)
// who are neither exempt (公出表) nor in the period's column of 代课教师, nor, when the day's
// week is known (`weekText`, the 周次 its records carry), covering then by a record of the
// term: a 新的一天 on the same day clears the bookings but not the lessons he still teaches. The
// free list of a slot ends at the end of the table, at a Null cell or at a cell "0". A weekday
// other than "1" to "5" or a period outside the day has no slot and no one eligible. Returns the
// names.
std::vector<std::string> eligibleTeachers(Store& store, std::string_view weekdayText, int period,
                                          std::string_view weekText = {});

// One row of 临时运算表 as the candidate list shows it.
using Candidate = CandidateRow;

struct Result {
    std::vector<Candidate> rows;  // in ranking order
    // Candidates that lack a row in 教师姓名, 每日节数表 or 代课节数 (the base data changed
    // after the initialisations); their missing values were scored as 0.
    std::vector<std::string> missing;
};

// The whole computation for one lesson: weekday as the screen's text ("1" to "5"), the period
// (1 to week::kPeriods), the class of the lesson, and the day's 周次 when known. Rebuilds 可代教师
// and 临时运算表 in one transaction.
Result rank(Store& store, std::string_view weekdayText, int period, std::string_view cls,
            std::string_view weekText = {});

// 临时运算表 read again in ranking order, as paging does.
std::vector<Candidate> rankedRows(Store& store);

// Many lessons ranked one after another while the base data stays as it is (一键安排): the
// teachers, the lessons per weekday, the exempt teachers, the free lists and the timetable are
// read once; the bookings, the tallies and today's cover are read for every lesson, so a cover
// recorded in between counts. The candidates and their order are exactly rank()'s; the work
// tables are not written.
class Ranker {
  public:
    explicit Ranker(Store& store);
    Result rank(std::string_view weekdayText, int period, std::string_view cls,
                std::string_view weekText = {});

  private:
    Store& store_;
    std::unordered_map<std::string, TeacherRow> teachers_;
    std::unordered_map<std::string, week::PerDay<double>> lessons_;
    std::unordered_set<std::string> exempt_;
    std::map<std::pair<int, int>, std::vector<std::string>> free_;      // by weekday and period
    std::map<std::pair<int, int>, std::vector<std::string>> teaching_;  // by weekday and period
};

}  // namespace ranking
}  // namespace daike
