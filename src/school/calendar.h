// The school calendar: teaching weeks counted from the Monday of week 1, weekdays Monday = 1.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace daike::calendar {

using Day = std::chrono::sys_days;

// 1 + the number of Mondays after the first day of term and on or before the day: the first
// day's own week is week 1, Saturday and Sunday belong to the week before the next Monday, and
// a day before the start of term gives 0 or less.
int weekNumber(Day termStart, Day day);

// Monday = 1 … Sunday = 7.
int weekdayNumber(Day day);

// The calendar date of a weekday (1 = Monday) of a teaching week.
Day dateOf(Day termStart, int week, int weekday);

// Reads a date as the office types and stores it: year/month/day with "/", "-" or "." between
// the parts, or 2009年8月31日; blanks around the parts are allowed. Anything else, or a day
// that does not exist, gives nothing.
std::optional<Day> parseDate(std::string_view text);

Day makeDay(int year, unsigned month, unsigned day);
// The date as file names carry it: "20261209".
std::string stamp(Day day);

}  // namespace daike::calendar
