// The shape of the school week and the words the office uses for it: five days of six periods,
// three of them in the morning; the weekday numerals, the grades, the reasons for an absence and
// the main subjects. Every count, name and list of these in the program comes from here, so a
// period 7 or a new reason is a change in this one file (see docs/architecture.md for what a
// period 7 would also need in the stored layout).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace daike::week {

// ---- the shape ----

inline constexpr int kDays = 5;            // 星期 1-5, Monday to Friday
inline constexpr int kPeriods = 6;         // 节次 1-6
inline constexpr int kMorningPeriods = 3;  // 1-3 上午, the rest 下午
inline constexpr int kAfternoonPeriods = kPeriods - kMorningPeriods;
inline constexpr int kSlots = kDays * kPeriods;  // cells of a week grid
inline constexpr int kCalendarDays = 7;          // 当前星期 runs to 7 at the weekend

// One value per period, index period - 1; one value per school day, index weekday - 1.
template <class T>
using PerPeriod = std::array<T, kPeriods>;
template <class T>
using PerDay = std::array<T, kDays>;
template <class T>
using PerSlot = std::array<T, kSlots>;

constexpr bool isWeekday(long day) {
    return day >= 1 && day <= kDays;
}
constexpr bool isPeriod(long period) {
    return period >= 1 && period <= kPeriods;
}
constexpr bool isMorning(int period) {
    return period <= kMorningPeriods;
}
// The period's number within its half: afternoon periods are counted again from 1.
constexpr int periodInHalf(int period) {
    return isMorning(period) ? period : period - kMorningPeriods;
}
// The cell of a week grid: (星期 - 1) × periods + (节次 - 1).
constexpr int slotIndex(int weekday, int period) {
    return (weekday - 1) * kPeriods + (period - 1);
}
constexpr int weekdayOfSlot(int slot) {
    return slot / kPeriods + 1;
}
constexpr int periodOfSlot(int slot) {
    return slot % kPeriods + 1;
}
// The weekday buttons: the next and the previous school day, wrapping round the week; a day
// outside it (the weekend) goes to Monday forward and to Friday back.
constexpr int nextWeekday(int day) {
    return isWeekday(day) && day < kDays ? day + 1 : 1;
}
constexpr int previousWeekday(int day) {
    return isWeekday(day) && day > 1 ? day - 1 : kDays;
}

// ---- the words ----

// 一 … 五 for the school days, 六 and 日 for the weekend; "" outside 1 to 7.
constexpr std::string_view weekdayNumeral(long day) {
    constexpr std::array<std::string_view, kCalendarDays> numerals = {"一", "二", "三", "四",
                                                                      "五", "六", "日"};
    return day >= 1 && day <= kCalendarDays ? numerals[static_cast<std::size_t>(day - 1)] : "";
}
// "星期三".
inline std::string weekdayName(long day) {
    return "星期" + std::string(weekdayNumeral(day));
}

// "上午" or "下午".
constexpr std::string_view halfName(int period) {
    return isMorning(period) ? "上午" : "下午";
}
// The words for a period, one style for each kind of place:
//   "第2节"       a period counted through the day (lists of lessons, messages, grids by row);
//   "上午第2节"   a period of the day's board and the printed sheet, counted within its half;
//   "上2" / "下1" the short form of the proposal's narrow column.
inline std::string periodName(int period) {
    return "第" + std::to_string(period) + "节";
}
inline std::string periodInDayName(int period) {
    if (!isPeriod(period)) return periodName(period);
    return std::string(halfName(period)) + periodName(periodInHalf(period));
}
inline std::string periodShortName(int period) {
    return std::string(isMorning(period) ? "上" : "下") + std::to_string(periodInHalf(period));
}

// Grade characters of class names, 一(1) … 六(n).
inline constexpr int kGrades = 6;
inline constexpr std::array<std::string_view, kGrades> kGradeNames = {"一", "二", "三",
                                                                      "四", "五", "六"};

// The reasons offered for an absence, in the order the windows offer them; "其它" lets the
// operator type another text.
inline constexpr std::array<std::string_view, 3> kReasons = {"公出", "病假", "事假"};
inline constexpr std::string_view kOtherReason = "其它";
// The statistics show the fixed reasons as columns in this order (sick leave first, the most
// common), then any other recorded text.
inline constexpr std::array<std::string_view, 3> kStatisticsReasons = {"病假", "事假", "公出"};

// The four main subjects and the letters that stand for them in the ranking's affinity.
inline constexpr int kMainSubjects = 4;
inline constexpr std::array<std::string_view, kMainSubjects> kMainSubjectNames = {"语文", "数学",
                                                                                  "英语", "科学"};
inline constexpr std::array<std::string_view, kMainSubjects> kMainSubjectLetters = {"语", "数",
                                                                                    "英", "科"};

}  // namespace daike::week
