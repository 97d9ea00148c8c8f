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

bool recountWeek(Store& store, RunValues& values, calendar::Day today) {
    const auto now = calendarNow(store, today);
    if (now.termStartKnown) {
        values.当前周次 = static_cast<std::int16_t>(now.当前周次);
        values.weekKnown = true;
    }
    return values.weekKnown;
}

}  // namespace daike
