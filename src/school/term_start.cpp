#include "school/term_start.h"

#include "store/store.h"
#include "store/tables/settings.h"

namespace daike {

std::optional<std::string> readTermStartText(Store& store) {
    return settings::termStart(store);
}

std::optional<calendar::Day> readTermStart(Store& store) {
    auto text = readTermStartText(store);
    if (!text) return std::nullopt;
    return calendar::parseDate(*text);
}

void storeTermStart(Store& store, const std::string& text) {
    store.transaction([&] { settings::setTermStart(store, text); });
}

CalendarNow calendarNow(Store& store, calendar::Day today) {
    CalendarNow now;
    now.当前星期 = calendar::weekdayNumber(today);
    if (auto start = readTermStart(store)) {
        now.termStartKnown = true;
        now.当前周次 = calendar::weekNumber(*start, today);
    }
    return now;
}

}  // namespace daike
