#include "school/term_start.h"

#include "store/store.h"
#include "store/tables/settings.h"
#include "store/text.h"
#include "store/week.h"

namespace daike {

namespace {
using namespace std::chrono;

struct Parts {
    int y;
    unsigned m, d;
};

Parts partsOf(calendar::Day day) {
    const year_month_day ymd(day);
    return {static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
            static_cast<unsigned>(ymd.day())};
}
}  // namespace

Checked<calendar::Day> termStartFromBoxes(std::string_view yearBox, std::string_view monthBox,
                                          std::string_view dayBox) {
    if (text::trimmed(yearBox).empty() || text::trimmed(monthBox).empty() ||
        text::trimmed(dayBox).empty())
        return Refusal{"请把开学第一周星期一的年、月、日都填上！"};
    const auto y = text::wholeNumber(yearBox), m = text::wholeNumber(monthBox),
               d = text::wholeNumber(dayBox);
    if (!y || !m || !d)
        return Refusal{"“" + std::string(yearBox) + "/" + std::string(monthBox) + "/" +
                       std::string(dayBox) + "”不是日期：年、月、日都请用数字填写！"};
    if (*y < 1000 || *y > 9999)
        return Refusal{"年份“" + std::to_string(*y) + "”不对，请输入四位数的年份！"};
    const std::string typed =
        std::to_string(*y) + "年" + std::to_string(*m) + "月" + std::to_string(*d) + "日";
    if (*m > 12 || *d > 31) return Refusal{typed + "不存在，请重新输入！"};
    const year_month_day ymd{year(static_cast<int>(*y)), month(static_cast<unsigned>(*m)),
                             day(static_cast<unsigned>(*d))};
    if (!ymd.ok()) return Refusal{typed + "不存在，请重新输入！"};
    const calendar::Day given = sys_days(ymd);
    const int weekday = calendar::weekdayNumber(given);
    if (weekday != 1) {
        const calendar::Day monday = given - days(weekday - 1);
        return Refusal{typed + "是" + week::weekdayName(weekday) +
                       "。这里要填开学报名那一周的星期一，即" + chineseDate(monday) +
                       "，请重新输入！"};
    }
    return given;
}

std::string termStartText(calendar::Day day) {
    const auto p = partsOf(day);
    return std::to_string(p.y) + "/" + std::to_string(p.m) + "/" + std::to_string(p.d);
}

std::string chineseDate(calendar::Day day) {
    const auto p = partsOf(day);
    return std::to_string(p.y) + "年" + std::to_string(p.m) + "月" + std::to_string(p.d) + "日";
}

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
