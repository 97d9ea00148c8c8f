// The first day of term: the Monday of week 1, kept as text in 开学第一天.
#pragma once

#include <optional>
#include <string>

#include "school/calendar.h"
#include "store/refusal.h"

namespace daike {

class Store;

// The stored text, or nothing when the table has no row (a new database).
std::optional<std::string> readTermStartText(Store& store);

// The stored date, when there is one and it reads as a date.
std::optional<calendar::Day> readTermStart(Store& store);

// Stores the text exactly as given into the first row, adding the row when there is none.
void storeTermStart(Store& store, const std::string& text);

// The Monday of week 1 as the office types it into the year, month and day boxes: whole
// numbers (full-width digits count, blanks at the ends are dropped), a four-digit year, a day
// that exists, and a Monday. A day of another weekday is refused with the Monday of its week,
// which is the one the office means.
Checked<calendar::Day> termStartFromBoxes(std::string_view year, std::string_view month,
                                          std::string_view day);

// The text stored for a day: year/month/day without leading zeros, "2009/8/31".
std::string termStartText(calendar::Day day);

// "2009年8月31日", as the messages name a day.
std::string chineseDate(calendar::Day day);

struct CalendarNow {
    int 当前周次 = 0;
    int 当前星期 = 0;
    bool termStartKnown = false;
};

// Where the calendar stands today; the week is 0 while the first day of term is unknown.
CalendarNow calendarNow(Store& store, calendar::Day today);

}  // namespace daike
