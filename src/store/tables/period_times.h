// 作息时间: the clock times of the periods, one row, the start and the end of each period as
// the office types them ("8:00"). A period whose times are blank has none.
#pragma once

#include <string>

#include "store/week.h"

namespace daike {

class Store;

namespace periodtimes {

struct StoredTimes {
    std::string start;
    std::string end;
};

// The row as stored; blanks when there is no row.
week::PerPeriod<StoredTimes> read(Store& store);
// Writes the row (one row, whatever was there before), in one transaction.
void write(Store& store, const week::PerPeriod<StoredTimes>& times);

}  // namespace periodtimes
}  // namespace daike
