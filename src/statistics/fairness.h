// 代课公平性: who covered how much over any dates (this week, this month, the term so far or days
// chosen), beside the lessons each teacher has on the timetable in those days. The leaders see
// how evenly cover is shared; the sheet shows who covered, never who was absent or how often.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "school/calendar.h"
#include "statistics/figures.h"
#include "statistics/tables.h"
#include "store/refusal.h"

namespace daike {

class Store;

namespace statistics {

enum class DateRangeKind { Week, Month, Term, Custom };

// The days of the sheet, both ends included.
struct DateRange {
    DateRangeKind kind = DateRangeKind::Custom;
    calendar::Day from{}, to{};

    // Monday to Friday of the working week of `today` (Saturday and Sunday belong to the week
    // just ended).
    static DateRange thisWeek(calendar::Day today);
    // The calendar month of `today`, first to last day.
    static DateRange thisMonth(calendar::Day today);
    // The first day of term to today.
    static DateRange term(calendar::Day termStart, calendar::Day today);
    static DateRange custom(calendar::Day from, calendar::Day to) {
        return {DateRangeKind::Custom, from, to};
    }

    bool contains(calendar::Day d) const { return d >= from && d <= to; }
    // "2026年9月14日至9月18日", "2026年9月14日" for one day.
    std::string dates() const;
    // For headings: "本周，2026年9月14日至9月18日"; a custom range is its dates alone.
    std::string label() const;
    // For sentences: "本周", "本月", "本学期", or the dates.
    std::string spoken() const;
};

// The two boxes of a custom range as typed ("2026-09-01", "2026年9月1日"). A box that does not
// read as a date, or an end before the start, is refused.
Checked<DateRange> customRange(const std::string& fromText, const std::string& toText);

struct FairnessRow {
    std::string name;
    bool onList = true;     // in 教师姓名; one who has left is shown apart with his covers
    bool exempt = false;    // in 公出表: never asked to cover, shown apart
    int covered = 0;        // lessons covered for colleagues on the days of the range
    long long lessons = 0;  // his own timetabled lessons on the school days of the range
    // Covered as a share of his lessons, in percent; nothing when he has no lessons.
    std::optional<double> share() const;
};

struct Fairness {
    DateRange range;
    // Those who can be asked to cover (the list's order), then the exempt, then those who
    // have left (in order of their first cover in the range).
    std::vector<FairnessRow> rows;
    int schoolDays = 0;  // Monday to Friday, from the first day of term up to today
    int covered = 0;     // every cover of the range
};

// Reads the sheet of a range (nothing is written). Refuses a range that ends before it starts
// and, as a record's date is counted from it, an unknown first day of term.
Checked<Fairness> fairness(Store& store, const DateRange& range, calendar::Day today);

// Over the teachers who can be asked to cover.
Spread spread(const Fairness& f);
std::string spreadSentence(const Fairness& f);
// Who is shown apart and why, "" when no one: "免代（灰色，不计入平均）：赵六。…"
std::string apartNote(const Fairness& f);

// 教师, 代课节数, 任课节数, 代课占比 and the totals; the rows in the sheet's order.
Table fairnessTable(const Fairness& f);
// Sorts as sortTable does, the teachers shown apart staying after the others.
void sortFairnessTable(Table& t, int column, bool descending);
// The chart of the table's rows in their present order (exempt apart, those who left out).
Chart fairnessChart(const Fairness& f, const Table& t);

// "代课公平性-20260914-20260918.xlsx" and the like, in the program directory.
std::string fairnessFileName(const DateRange& range, const std::string& extension);

}  // namespace statistics
}  // namespace daike
