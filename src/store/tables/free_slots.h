// 空课教师表: for every slot of the week, the teachers without a lesson then, from the top row
// down. The slots' columns are independent: a row holds unrelated names.
#pragma once

#include <string>
#include <vector>

#include "store/value.h"
#include "store/week.h"

namespace daike {

class Store;

namespace freeslots {

// The names of one slot from the top down to the first empty cell (or a "0"). None for a slot
// outside the week.
std::vector<std::string> freeIn(Store& store, int weekday, int period);
// Replaces the table with these rows, each a cell per slot (index week::slotIndex).
void replaceAll(Store& store, const std::vector<week::PerSlot<Value>>& rows);

}  // namespace freeslots
}  // namespace daike
