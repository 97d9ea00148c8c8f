// The work tables of one ranking: 可代教师 (who may cover the period) and 临时运算表 (their
// scores), both rebuilt for every lesson the operator clicks.
#pragma once

#include <string>
#include <vector>

#include "store/value.h"

namespace daike {

class Store;

struct CandidateRow {
    std::string name;      // 姓名
    std::string affinity;  // 任课情况: "班" then 语 数 英 科 as they apply, or ""
    Value lessonsToday;    // 本日节数: the weekday's lessons plus today's covers
    Value coversToday;     // 本日代课
    std::string
        adjacent;  // 连课情况: "是" when teaching or covering the period just before, else "否"
    Value coversThisTerm;  // 总节数
    int classMark = 0;     // 班幅标记: 2 head teacher, 1 main subject; 0 is stored as Null
};

namespace candidates {

// Empties 可代教师 and writes these names.
void setEligible(Store& store, const std::vector<std::string>& names);
// Empties 临时运算表 and writes these rows.
void replaceScores(Store& store, const std::vector<CandidateRow>& rows);
// 临时运算表 in ranking order.
std::vector<CandidateRow> ranked(Store& store);
// The same order without the table: the rows sorted exactly as `ranked` would read them back
// after `replaceScores` wrote them in this order (ties keep their order).
void sortRanked(Store& store, std::vector<CandidateRow>& rows);
// Empties both tables.
void clear(Store& store);

}  // namespace candidates
}  // namespace daike
