// 代课规则: the rules on cover, one row at most: the limit a day and the limit a week on one
// teacher's cover (Null: 不限), whether two lessons in a row may be given (允许连堂, 1/0) and
// whether the proposal balances (均衡安排, 1/0). No row: the defaults below.
#pragma once

#include <optional>

namespace daike {

class Store;

namespace coverrules {

struct StoredRules {
    std::optional<int> perDay;   // 每日上限
    std::optional<int> perWeek;  // 每周上限
    bool inARow = true;          // 允许连堂
    bool balanced = false;       // 均衡安排
};

// The row as stored; the defaults when there is none. A blank limit reads as none; a blank
// flag as its default.
StoredRules read(Store& store);
// Writes the row (one row, whatever was there before), in one transaction.
void write(Store& store, const StoredRules& rules);

}  // namespace coverrules
}  // namespace daike
