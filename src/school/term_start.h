// The first day of term: the Monday of week 1, kept as text in 开学第一天.
#pragma once

#include <optional>
#include <string>

#include "school/calendar.h"

namespace daike {

class Store;

// The stored text, or nothing when the table has no row (a new database).
std::optional<std::string> readTermStartText(Store& store);

// The stored date, when there is one and it reads as a date.
std::optional<calendar::Day> readTermStart(Store& store);

// Stores the text exactly as given into the first row, adding the row when there is none.
void storeTermStart(Store& store, const std::string& text);

struct CalendarNow {
    int 当前周次 = 0;
    int 当前星期 = 0;
    bool termStartKnown = false;
};

// Where the calendar stands today; the week is 0 while the first day of term is unknown.
CalendarNow calendarNow(Store& store, calendar::Day today);

}  // namespace daike
