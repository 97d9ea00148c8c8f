// Correcting the cover recorded today (代课情况修改): looking at it by substitute or by absent
// teacher, withdrawing a cover with every trace of it, and withdrawing it to have the lesson
// covered again in the several-teachers mode.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/refusal.h"
#include "store/tables/covers.h"

namespace daike {

class Store;

namespace modification {

// The two lists of the window, filled before it opens.
struct Lists {
    std::vector<std::string> substitutes;  // each 代者 of 当天代课记录 once, ascending
    // each 被代 of 当天代课记录 once, ascending, then the teachers entered in 代课教师 only as
    // away in free periods, in the order found period by period
    std::vector<std::string> absent;
};

// The preparation of "修改": refused when today has no cover record and no one is entered in
// 代课教师 (there is nothing to correct).
Checked<Lists> prepare(Store& store);

// The weekday the window works on: today's cover records belong to one day; when they exist
// and the current weekday is a weekend day or another day, theirs is taken.
int weekdayOfRecords(Store& store, int currentWeekday);

// One record of 当天代课记录, as one row of the window shows it.
using CoverRow = CoverRecord;

// Today's cover given by a substitute / of an absent teacher, in stored order.
std::vector<CoverRow> coversBy(Store& store, std::string_view substitute);
std::vector<CoverRow> coversOf(Store& store, std::string_view absent);
// Whether today's records still name the teacher as substitute / as absent teacher.
bool givesCover(Store& store, std::string_view substitute);
bool hasCover(Store& store, std::string_view absent);

// What a correction did not find in the stored data; every other part of it was done.
struct Outcome {
    std::vector<std::string> notFound;
};

// 删除, in one transaction: the record of this cover leaves 代课记录, 临时代课记录 (when it is
// there) and 当天代课记录 (the record with all the row's values, so that of two covers of one
// class in one period the one shown is withdrawn); the substitute and then the absent teacher
// leave the period's column of 代课教师 (the column and its flags stay packed); the
// substitute's two tallies go down by one, never below 0; the lesson loses both marks.
Outcome withdraw(Store& store, const CoverRow& cover);

// 重代, in one transaction: withdraw, then the absent teacher is entered as away in the period
// again, the lesson is held (标记 = 1) and queued in 需代课目情况 for new cover.
Outcome reassign(Store& store, const CoverRow& cover);

// The questions asked before a correction, naming the lesson: 删除 leaves it without cover,
// "删除后张老师星期三第2节一(1)语文（赵三代）该节课将无人代课，是否删除？"; 重代 takes the
// substitute off it and has it wait for new cover,
// "重代将取消赵三代张老师星期三第2节一(1)语文的安排，该节课重新等待安排，是否重代？".
std::string withdrawQuestion(const CoverRow& cover);
std::string reassignQuestion(const CoverRow& cover);

// Leaving after a re-assignment, in one transaction: for each listed absent teacher's lessons
// of the weekday not covered, 标记 is turned over (1 becomes Null, Null becomes 1), so that
// on the assignment screen only the queued lessons can be chosen and the rest is held back.
void openQueuedForCover(Store& store, const std::vector<std::string>& teachers, int weekday);

}  // namespace modification
}  // namespace daike
