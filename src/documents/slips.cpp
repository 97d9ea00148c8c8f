#include "documents/slips.h"

#include <algorithm>

#include "engine/swap_notice.h"
#include "school/term_start.h"
#include "store/value.h"
#include "store/week.h"

namespace daike {

int slipWeek(const CoverRecord& r) {
    const double w = leadingNumber(r.week);
    return w >= 1 ? static_cast<int>(w) : 0;
}

std::string slipDateLine(const CoverRecord& r, std::optional<calendar::Day> termStart) {
    const std::string weekday =
        week::isWeekday(r.weekday) ? "星期" + std::string(week::weekdayNumeral(r.weekday)) : "";
    const int w = slipWeek(r);
    if (termStart && w >= 1 && week::isWeekday(r.weekday)) {
        const std::chrono::year_month_day d{calendar::dateOf(*termStart, w, r.weekday)};
        return std::to_string(static_cast<unsigned>(d.month())) + "月" +
               std::to_string(static_cast<unsigned>(d.day())) + "日 " + weekday;
    }
    return w >= 1 ? "第" + std::to_string(w) + "周 " + weekday : weekday;
}

std::vector<Slip> slipsOf(const std::vector<CoverRecord>& records, const PeriodTimes& times,
                          std::optional<calendar::Day> termStart, SlipKind kind) {
    std::vector<Slip> slips;
    // The working day a slip is for: a day's records left from another date (新的一天 not yet
    // run) get a slip of their own with their own date.
    std::vector<std::pair<int, int>> days;
    for (const auto& r : records) {
        const std::pair<int, int> day{slipWeek(r), r.weekday};
        std::size_t i = 0;
        while (i < slips.size() && !(slips[i].substitute == r.substitute && days[i] == day)) ++i;
        if (i == slips.size()) {
            slips.push_back({r.substitute, slipDateLine(r, termStart), {}, kind, {}});
            days.push_back(day);
        }
        slips[i].lessons.push_back(
            {r.period, times.label(r.period), r.cls, r.subject, r.absent, r.reason});
    }
    for (auto& s : slips)
        std::stable_sort(
            s.lessons.begin(), s.lessons.end(),
            [](const SlipLesson& a, const SlipLesson& b) { return a.period < b.period; });
    return slips;
}

std::vector<Slip> changedSlips(const std::vector<CoverRecord>& added,
                               const std::vector<CoverRecord>& withdrawn, const PeriodTimes& times,
                               std::optional<calendar::Day> termStart) {
    auto out = slipsOf(added, times, termStart, SlipKind::Added);
    auto gone = slipsOf(withdrawn, times, termStart, SlipKind::Withdrawn);
    out.insert(out.end(), gone.begin(), gone.end());
    return out;
}

namespace {
// The records by substitute in the order the names come in `reference`; a name it lacks goes
// last. Each substitute's records keep their order.
void orderAs(std::vector<CoverRecord>& records, const std::vector<CoverRecord>& reference) {
    auto rank = [&](const std::string& name) {
        const auto it = std::find_if(reference.begin(), reference.end(),
                                     [&](const CoverRecord& r) { return r.substitute == name; });
        return it - reference.begin();
    };
    std::stable_sort(records.begin(), records.end(),
                     [&](const CoverRecord& a, const CoverRecord& b) {
                         return rank(a.substitute) < rank(b.substitute);
                     });
}
}  // namespace

std::vector<Slip> changedSlips(Store& store, std::vector<CoverRecord> added,
                               std::vector<CoverRecord> withdrawn) {
    orderAs(added, covers::bySubstitute(store, CoverTable::Today));
    orderAs(withdrawn, covers::bySubstitute(store, CoverTable::Told));
    return changedSlips(added, withdrawn, readPeriodTimes(store), readTermStart(store));
}

std::vector<Slip> todaysSlips(Store& store) {
    return slipsOf(covers::bySubstitute(store, CoverTable::Today), readPeriodTimes(store),
                   readTermStart(store));
}

std::vector<Slip> todaysSlips(Store& store, int week, int weekday) {
    auto slips = todaysSlips(store);
    const auto termStart = readTermStart(store);
    CoverRecord day;
    day.week = std::to_string(week);
    day.weekday = weekday;
    const std::string dateLine = slipDateLine(day, termStart);
    for (const auto& swap : swapping::touchingDay(store, week, weekday))
        for (const std::string* teacher : {&swap.colleague, &swap.teacher}) {
            auto slip = std::find_if(slips.begin(), slips.end(), [&](const Slip& s) {
                return s.substitute == *teacher && s.dateLine == dateLine;
            });
            if (slip == slips.end()) {
                slips.push_back({*teacher, dateLine, {}, SlipKind::Whole, {}});
                slip = slips.end() - 1;
            }
            slip->swaps.push_back(swapping::toldTo(store, swap, *teacher));
        }
    return slips;
}

std::pair<std::string, std::string> swapSlipLines(const std::string& swapText) {
    const std::string between = "；";
    const auto at = swapText.find(between);
    if (at == std::string::npos) return {swapText, {}};
    return {swapText.substr(0, at + between.size()), swapText.substr(at + between.size())};
}

int SlipPageLayout::heightOf(const Slip& slip) {
    const int swaps =
        slip.swaps.empty() ? 0 : kLine * (1 + 2 * static_cast<int>(slip.swaps.size()));
    if (slip.swapsOnly()) return kFixed - kLine - kRow + swaps;
    return kFixed + kRow * static_cast<int>(slip.lessons.size()) + swaps;
}

std::vector<std::vector<std::size_t>> SlipPageLayout::pages(const std::vector<Slip>& slips) {
    std::vector<std::vector<std::size_t>> out;
    int used = 0;
    for (std::size_t i = 0; i < slips.size(); ++i) {
        const int h = heightOf(slips[i]);
        if (out.empty() || used + kCutGap + h > kHeight) {
            out.push_back({i});
            used = h;
        } else {
            out.back().push_back(i);
            used += kCutGap + h;
        }
    }
    return out;
}

}  // namespace daike
