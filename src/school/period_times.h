// The periods' clock times (作息时间) as the notices, slips, the day's sheet, the board and the
// texts for the teachers' groups write them: "第3节（9:50–10:30）" when the times are set, only
// "第3节" when not.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/refusal.h"
#include "store/tables/period_times.h"
#include "store/week.h"

namespace daike {

class Store;

// Minutes after midnight of a clock time typed by the office: "8:00", "08:00", "8：00" (full
// width), "8.00"; none for anything else (hours 0–23, minutes 0–59).
std::optional<int> parseClock(std::string_view text);
// "9:50", "13:05".
std::string clockText(int minutes);

struct PeriodSpan {
    int start = 0;  // minutes after midnight
    int end = 0;
};

struct PeriodTimes {
    week::PerPeriod<std::optional<PeriodSpan>> spans{};

    // A period has times when both its start and its end are set.
    std::optional<PeriodSpan> of(int period) const;
    // "9:50–10:30", or "" when the period has no times.
    std::string span(int period) const;
    // "第3节（9:50–10:30）", or "第3节".
    std::string label(int period) const;
    bool any() const;
};

// The stored times, read as clock times; a period whose start or end does not read as a time
// has none.
PeriodTimes readPeriodTimes(Store& store);
PeriodTimes periodTimesOf(const week::PerPeriod<periodtimes::StoredTimes>& stored);

// What is wrong with the times typed in the setting, as the office is told it ("第3节的开始时间
// “9:5O”不是时间，请按“8:00”的样子填写。"); none when they can be kept. A period may be left
// blank entirely; one given must have both ends, end after its start and start no earlier than
// the end of the period before it.
std::optional<std::string> periodTimesProblem(
    const week::PerPeriod<periodtimes::StoredTimes>& typed);

// The setting's 确定: refused with periodTimesProblem's text (nothing written), else every
// period stored in one write, as clock times ("8：00" and "08.00" are kept as "8:00"), blank
// periods blank.
Checked<> storePeriodTimes(Store& store, const week::PerPeriod<periodtimes::StoredTimes>& typed);

}  // namespace daike
