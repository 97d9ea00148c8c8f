// 代课教师: who is away or busy in each period of the day being covered. Each period has a
// column of names, packed from the top: the absent teachers of that period and the substitutes
// covering then. Beside each name a flag says the teacher is away in a period without a lesson
// of his own (free-period leave). This is the only code that knows the period columns ("3")
// and the flag columns ("33").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace daike {

class Store;

struct Booking {
    std::string name;
    int period = 0;
    bool freePeriod = false;  // away in a free period, not covering and not missing a lesson
};

namespace away {

// Every name in the table, row by row and within a row period by period; blank cells skipped.
std::vector<Booking> all(Store& store);
// The names of one period from the top; blank cells skipped. None for a period outside the day.
std::vector<Booking> inPeriod(Store& store, int period);
// The names of one period from the top down to the first empty cell, as a column is read that
// is kept packed: a name below a gap (a file changed by other means) is not counted.
std::vector<Booking> fromTop(Store& store, int period);
bool isBooked(Store& store, int period, std::string_view name);
// Anyone in any period.
bool anyone(Store& store);

// Puts the name into the first empty cell of the period's column (a new row when there is
// none); with freePeriod the flag beside it is set too.
void book(Store& store, int period, std::string_view name, bool freePeriod = false);
// Removes the first occurrence of the name from the period's column; the names below, with
// their flags, move up one row. False when the name is not there.
bool withdraw(Store& store, int period, std::string_view name);
void clear(Store& store);

}  // namespace away
}  // namespace daike
