// The operations that put the working tables into a known state at the start of a day or a
// term. Each runs as one transaction: it changes everything or nothing.
#pragma once

namespace daike {

class Store;

// New day: empties the day's tables (代课教师, 临时代课记录, 需代课目情况, 当天代课记录), sets
// every 当日代课 back to 0 and clears both marks of every lesson. The term's tallies and records
// stay.
void newDay(Store& store);

}  // namespace daike
