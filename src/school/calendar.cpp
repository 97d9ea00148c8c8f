#include "school/calendar.h"

#include <charconv>
#include <vector>

namespace daike::calendar {

using namespace std::chrono;

namespace {
Day mondayOnOrBefore(Day d) {
    return d - days((weekdayNumber(d) - 1));
}

long floorDiv(long a, long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
}  // namespace

int weekdayNumber(Day day) {
    return static_cast<int>(weekday(day).iso_encoding());
}

int weekNumber(Day termStart, Day day) {
    const long between = (mondayOnOrBefore(day) - mondayOnOrBefore(termStart)).count();
    return static_cast<int>(1 + floorDiv(between, 7));
}

Day dateOf(Day termStart, int week, int weekday) {
    return termStart + days(7 * (week - 1) + (weekday - 1));
}

Day makeDay(int y, unsigned m, unsigned d) {
    return sys_days(year(y) / month(m) / day(d));
}

std::string stamp(Day d) {
    const year_month_day ymd{d};
    const int y = static_cast<int>(ymd.year());
    const unsigned m = static_cast<unsigned>(ymd.month()), dd = static_cast<unsigned>(ymd.day());
    return std::to_string(y) + (m < 10 ? "0" : "") + std::to_string(m) + (dd < 10 ? "0" : "") +
           std::to_string(dd);
}

std::optional<Day> parseDate(std::string_view text) {
    std::vector<long> parts;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    auto separator = [&](std::string_view sep) {
        if (text.substr(i, sep.size()) == sep) {
            i += sep.size();
            return true;
        }
        return false;
    };
    const std::string_view marks[] = {"年", "月", "日"};
    bool chinese = false;
    for (int part = 0; part < 3; ++part) {
        skipBlanks();
        long v = 0;
        auto res = std::from_chars(text.data() + i, text.data() + text.size(), v);
        if (res.ec != std::errc() || v < 0) return std::nullopt;
        i = static_cast<std::size_t>(res.ptr - text.data());
        parts.push_back(v);
        skipBlanks();
        if (part == 0)
            chinese = separator(marks[0]);
        else if (chinese && !separator(marks[part]))
            return std::nullopt;
        if (part == 0 && !chinese && !(separator("/") || separator("-") || separator(".")))
            return std::nullopt;
        if (part == 1 && !chinese && !(separator("/") || separator("-") || separator(".")))
            return std::nullopt;
    }
    skipBlanks();
    if (i != text.size()) return std::nullopt;
    if (parts[0] < 100 || parts[0] > 9999 || parts[1] < 1 || parts[1] > 12) return std::nullopt;
    year_month_day ymd{year(static_cast<int>(parts[0])), month(static_cast<unsigned>(parts[1])),
                       day(static_cast<unsigned>(parts[2]))};
    if (!ymd.ok()) return std::nullopt;
    return sys_days(ymd);
}

}  // namespace daike::calendar
