#include "engine/free_period_leave.h"

#include <algorithm>

#include "store/store.h"
#include "store/tables/away.h"
#include "store/week.h"

namespace daike::leave {

void recordAway(Store& store, std::string_view name, int period, bool freePeriod) {
    away::book(store, period, name, freePeriod);
}

void recordDay(Store& store, std::string_view name, const Periods& lessonPeriods,
               const Periods& freePeriods) {
    if (name.empty()) return;
    // A period where he stands already (entered in 多人代课 before, or an earlier correction)
    // keeps its one entry: twice in a period, one withdrawal would leave him away.
    store.transaction([&] {
        for (int i = 0; i < week::kPeriods; ++i)
            if (lessonPeriods[static_cast<std::size_t>(i)] && !away::isBooked(store, i + 1, name))
                recordAway(store, name, i + 1, false);
        for (int i = 0; i < week::kPeriods; ++i)
            if (freePeriods[static_cast<std::size_t>(i)] && !away::isBooked(store, i + 1, name))
                recordAway(store, name, i + 1, true);
    });
}

Periods recordedFreePeriods(Store& store, std::string_view name) {
    Periods found{};
    for (int p = 1; p <= week::kPeriods; ++p)
        for (const auto& b : away::fromTop(store, p))
            if (b.name == name && b.freePeriod) found[static_cast<std::size_t>(p - 1)] = true;
    return found;
}

void withdraw(Store& store, std::string_view name, const Periods& periods) {
    store.transaction([&] {
        for (int p = 1; p <= week::kPeriods; ++p)
            if (periods[static_cast<std::size_t>(p - 1)]) away::withdraw(store, p, name);
    });
}

void dropFromList(std::vector<std::string>& list, std::string_view name) {
    auto it = std::find(list.begin(), list.end(), name);
    if (it != list.end()) list.erase(it);
}

}  // namespace daike::leave
