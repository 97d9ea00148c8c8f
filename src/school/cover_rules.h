// 代课规则: the school's limits on how much cover one teacher is given, and how the day's
// proposal spreads it. With the defaults (no limit, two lessons in a row allowed, no
// balancing) the ranking and the proposal are the plain ones, row for row.
#pragma once

#include <optional>

#include "store/refusal.h"
#include "store/tables/swaps.h"

namespace daike {

class Store;

namespace rules {

struct CoverRules {
    std::optional<int> perDay;   // at most this many covers a day per teacher; none: 不限
    std::optional<int> perWeek;  // at most this many a teaching week; none: 不限
    bool inARow = true;          // the proposal may give one teacher two lessons in a row
    bool balanced = false;       // 均衡安排: the proposal spreads the day's cover

    // Nothing set: the ranking and the proposal are exactly the plain ones.
    bool plain() const { return !perDay && !perWeek && inARow && !balanced; }
    bool operator==(const CoverRules&) const = default;
};

// The stored rules; the defaults when none were ever stored.
CoverRules load(Store& store);

// The setting's 确定, in one transaction. A limit a day outside 1 to the periods of a day, a
// limit a week outside 1 to the periods of a week, or a week's limit below the day's, is
// refused and nothing is written.
Checked<> save(Store& store, const CoverRules& rules);

// 调课's settings are chosen in the same window: how many school days after the lesson's own a
// return is sought (1 to kMostSwapDays), and 短假优先调课.
inline constexpr int kMostSwapDays = 20;
// The stored settings; a number of days no setting could have stored is the default.
SwapSettings swapSettings(Store& store);
// The window's 确定: the rules and 调课's settings in one transaction. Anything refused (the
// rules as above, or days outside 1 to kMostSwapDays) writes neither.
Checked<> save(Store& store, const CoverRules& rules, const SwapSettings& choice);

}  // namespace rules
}  // namespace daike
