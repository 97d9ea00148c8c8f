// Who can cover a lesson, and in what order: the free teachers of the weekday and period, less
// the exempt ones and those away or already covering then, scored into 临时运算表 and read
// back with one fixed ordering.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace daike {

class Store;
class Recordset;

namespace ranking {

// The main subjects (week::kMainSubjectNames) stand in 教师姓名 from column 2 on, in the order
// their letters (week::kMainSubjectLetters) are written.
inline constexpr int kFirstSubjectColumn = 2;

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
// with a class, from the teacher's 教师姓名 row (columns 0 to 5).
Affinity affinity(const std::vector<Value>& teacherRow, std::string_view cls);

// kdjs: empties 可代教师 and fills it with the teachers free in the slot (weekday, period)
// who are neither exempt (公出表) nor in the period's column of 代课教师. The free list of a
// slot ends at the end of the table, at a Null cell or at a cell "0". A weekday other than
// "1" to "5" or a period outside the day has no slot and no one eligible. Returns the names.
std::vector<std::string> eligibleTeachers(Store& store, std::string_view weekdayText, int period);

// One row of 临时运算表, the first six columns as the candidate list shows them.
struct Candidate {
    std::string name;      // 姓名
    std::string affinity;  // 任课情况
    Value lessonsToday;    // 本日节数: the weekday's lessons plus today's covers
    Value coversToday;     // 本日代课
    std::string adjacent;  // 连课情况: "是" when teaching the period just before
    Value coversThisTerm;  // 总节数
};

struct Result {
    std::vector<Candidate> rows;  // in ranking order
    // Candidates that lack a row in 教师姓名, 每日节数表 or 代课节数 (the base data changed
    // after the initialisations); their missing values were scored as 0.
    std::vector<std::string> missing;
};

// The whole computation for one lesson: weekday as the screen's text ("1" to "5"), the period
// (1 to week::kPeriods), and the class of the lesson. Rebuilds 可代教师 and 临时运算表 in one
// transaction.
Result rank(Store& store, std::string_view weekdayText, int period, std::string_view cls);

// 临时运算表 read again in ranking order, as paging does.
std::vector<Candidate> rankedRows(Store& store);

// The ordering of the candidate list.
inline constexpr const char* kRankingQuery =
    "select * from 临时运算表  order by 班幅标记 desc,任课情况 desc ,本日节数 asc ,本日代课 asc , "
    "连课情况 asc ,总节数 asc ";

}  // namespace ranking
}  // namespace daike
