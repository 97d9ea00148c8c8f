#include "engine/telling.h"

#include <algorithm>

#include "engine/swap_notice.h"
#include "store/store.h"

namespace daike::telling {

namespace {

// The same cover for the substitute: the lesson, who covers it and why; the 周次 text is the
// day's, the same for all.
bool sameCover(const CoverRecord& a, const CoverRecord& b) {
    return a.absent == b.absent && a.substitute == b.substitute && a.weekday == b.weekday &&
           a.cls == b.cls && a.subject == b.subject && a.period == b.period && a.reason == b.reason;
}

// The records of `from` not matched one for one in `against`.
std::vector<CoverRecord> unmatched(const std::vector<CoverRecord>& from,
                                   const std::vector<CoverRecord>& against) {
    std::vector<bool> used(against.size(), false);
    std::vector<CoverRecord> out;
    for (const auto& r : from) {
        bool found = false;
        for (std::size_t i = 0; i < against.size() && !found; ++i)
            if (!used[i] && sameCover(r, against[i])) used[i] = found = true;
        if (!found) out.push_back(r);
    }
    return out;
}

void bySubstitute(std::vector<CoverRecord>& records) {
    std::stable_sort(
        records.begin(), records.end(), [](const CoverRecord& a, const CoverRecord& b) {
            return a.substitute != b.substitute ? a.substitute < b.substitute : a.period < b.period;
        });
}

}  // namespace

Changes sinceTold(Store& store) {
    const auto today = covers::read(store, CoverTable::Today);
    const auto told = covers::read(store, CoverTable::Told);
    Changes out;
    out.toldBefore = !told.empty();
    out.added = unmatched(today, told);
    out.withdrawn = unmatched(told, today);
    bySubstitute(out.added);
    bySubstitute(out.withdrawn);
    return out;
}

void markTold(Store& store) {
    store.transaction(
        [&] { covers::replace(store, CoverTable::Told, covers::read(store, CoverTable::Today)); });
}

bool untold(const Changes& changes, const CoverRecord& record) {
    if (!changes.toldBefore) return false;
    return std::any_of(changes.added.begin(), changes.added.end(),
                       [&](const CoverRecord& a) { return sameCover(a, record); });
}

SwapChanges swapsSinceTold(Store& store, int week, int weekday) {
    const auto now = swapping::notesOfDay(store, week, weekday);
    SwapChanges out;
    out.toldBefore = swaps::toldAny(store, week, weekday);
    if (!out.toldBefore) {
        out.added = now;
        return out;
    }
    const auto told = swaps::toldOf(store, week, weekday);
    for (const auto& n : now)
        if (std::find(told.begin(), told.end(), n) == told.end()) out.added.push_back(n);
    for (const auto& t : told)
        if (std::find(now.begin(), now.end(), t) == now.end()) out.withdrawn.push_back(t);
    return out;
}

void markSwapsTold(Store& store, int week, int weekday) {
    swaps::replaceTold(store, week, weekday, swapping::notesOfDay(store, week, weekday));
}

void markDayTold(Store& store, int week, int weekday) {
    store.transaction([&] {
        markTold(store);
        markSwapsTold(store, week, weekday);
    });
}

}  // namespace daike::telling
