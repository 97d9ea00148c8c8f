// Absence during free periods (无课公出): a teacher away in a period without a lesson is entered
// in that period's column of 代课教师 with "1" in the flag column ("11" … "66") of the same
// row, so that the teacher is not proposed as a substitute then.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/week.h"

namespace daike {

class Store;

namespace leave {

using Periods = week::PerPeriod<bool>;  // index = period − 1

// jdxr: enters a teacher as away in a period (1 to week::kPeriods): the first row whose period
// column is Null takes the name (a new row when there is none); with the flag, "1" goes into the
// flag column of that row.
void recordAway(Store& store, std::string_view name, int period, bool freePeriod);

// Closing 无课公出情况, in one transaction: the teacher is entered as away without the flag in
// the lesson periods, and with the flag in the ticked free periods. An empty name records
// nothing.
void recordDay(Store& store, std::string_view name, const Periods& lessonPeriods,
               const Periods& freePeriods);

// The periods in which the teacher is entered with the free-period flag.
Periods recordedFreePeriods(Store& store, std::string_view name);

// scdkjs for each period given, in one transaction: the teacher's entry leaves the period's
// column; the later entries of that column and of its flag column move one row up.
void withdraw(Store& store, std::string_view name, const Periods& periods);

// scxm: drops the teacher from the saved absent-teacher list; the later names move up.
void dropFromList(std::vector<std::string>& list, std::string_view name);

}  // namespace leave
}  // namespace daike
