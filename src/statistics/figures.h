// Cover statistics: who covered how many lessons for colleagues, whose lessons were covered and
// why, per day, week, range of weeks or the whole term, read from the term's cover records
// (代课记录). The headmaster's report, the term's cover pay and fairness between colleagues are
// worked out from these figures; the window, the chart and the exports only show them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "school/calendar.h"
#include "store/refusal.h"
#include "store/tables/covers.h"

namespace daike {

class Store;

namespace statistics {

// Today, this week, weeks and this term count this term's records (代课记录); a past term those
// kept in 代课存档 under its name; dates (a month, a school year, any days) the records of every
// term dated within them.
enum class RangeKind { Today, ThisWeek, Weeks, Term, PastTerm, Dates };

// Which cover records count. Weeks are the 周次 the records were stored with.
struct Range {
    RangeKind kind = RangeKind::Term;
    int week = 0;                  // Today, ThisWeek
    int weekday = 0;               // Today
    int fromWeek = 0, toWeek = 0;  // Weeks, both included
    std::string from, to;          // Dates: YYYY-MM-DD, both included
    std::string name;              // PastTerm: the term's name; Dates: how they are called

    static Range today(int week, int weekday) {
        return {RangeKind::Today, week, weekday, 0, 0, {}, {}, {}};
    }
    static Range thisWeek(int week) { return {RangeKind::ThisWeek, week, 0, 0, 0, {}, {}, {}}; }
    static Range weeks(int from, int to) { return {RangeKind::Weeks, 0, 0, from, to, {}, {}, {}}; }
    static Range term() { return {}; }
    // A term kept in 代课存档 ("2024年春季学期").
    static Range pastTerm(std::string name);
    // A calendar month: "2026年9月".
    static Range month(int year, int month);
    // A school year, from 1 September to 31 August: "2025—2026学年".
    static Range schoolYear(int firstYear);
    // Any days, both included: "2026年9月1日至9月15日". The caller checks from <= to.
    static Range days(calendar::Day from, calendar::Day to);

    bool contains(int recordWeek, int recordWeekday) const;
    // For headings and file names: "第5周星期三", "第5周", "第3至5周", "本学期", the past term's
    // or the dates' name.
    std::string label() const;
    // For sentences: "今天", "本周", "第3至5周", "本学期", or the name.
    std::string spoken() const;
    // Whether the records come from this term only (the weeks read as this term's weeks).
    bool thisTerm() const { return kind != RangeKind::PastTerm && kind != RangeKind::Dates; }
};

// The other ranges there is something to show for: the past terms kept, the school years and
// the months with covers of any term, newest first within each.
std::vector<Range> otherRanges(Store& store);

// The weeks the records of the term were stored with (readable week numbers above 0 only).
struct WeekSpan {
    int first = 0, last = 0;  // 0 and 0 when there is none
};
WeekSpan weeksInRecords(Store& store);

// The number a record's 周次 reads as (its leading number, rounded), 0 when it reads as none.
int weekNumber(const CoverRecord& r);

// "9月14日至9月18日": Monday to Friday of a teaching week, or of the week from that Monday.
std::string weekDates(calendar::Day termStart, int week);
std::string weekDatesFrom(calendar::Day monday);
// The days a range covers, for the line beside the range: "9月14日至10月2日" for weeks of a
// term whose first day is known, "2026年8月31日起" for a whole term, the dates' own name; ""
// when the days are not known.
std::string rangeDates(const Range& range, std::optional<calendar::Day> termStart);

struct TeacherFigures {
    std::string name;
    bool onList = true;     // in 教师姓名; a teacher who has left keeps the records of the term
    bool exempt = false;    // in 公出表
    int covered = 0;        // lessons covered for colleagues in the range
    std::vector<int> away;  // lessons of theirs covered by others in the range, per reason
    int awayTotal = 0;
    std::optional<int> tally;  // 代课节数.学期代课; nothing when the teacher has no row
    int termCovered = 0;       // lessons covered this term, counted from the records
    // The tally and the records disagree (a teacher on the list without a tally row counts as
    // disagreeing: the ranking needs that row).
    bool tallyDiffers = false;
    // 调课, apart from the cover (never counted in `covered`, the tally or the pay): the lessons
    // of a colleague he taught by a swap in the range, as the colleague in its first slot or as
    // the first teacher in its return slot.
    int swapped = 0;
    // 欠课: this term's one-way swaps whose return he still owes (swapping::owed), whatever the
    // range's days; counted only for a range of this term.
    int owes = 0;
};

struct Figures {
    Range range;
    std::vector<std::string> reasons;      // 病假, 事假, 公出, then other recorded texts
    std::vector<TeacherFigures> teachers;  // the list's order, then those who have left
    std::vector<CoverRecord> records;      // the records in the range, in table order
    // Beside each record its date (YYYY-MM-DD), "" when it has none (no first day of term).
    std::vector<std::string> recordDates;
    // The first day of the term whose weeks the records are counted in (this term's, or the
    // past term's); none for dates across terms, or when it was not set.
    std::optional<calendar::Day> termStart;
    std::optional<double> payRate;  // 元 per covered lesson
    int covered = 0;                // all covers in the range
    int swapped = 0;                // lessons taught by a swap in the range
    bool showsOwed = false;         // a range of this term: the open one-way swaps are counted
    int mismatches = 0;             // teachers whose tally disagrees with the records
    int missingTallies = 0;         // teachers on the list without a tally row
};

// Reads the figures of a range from the store (nothing is written).
Figures compute(Store& store, const Range& range);

// Highest, lowest and mean of the lessons covered, over the teachers on the list who can be
// asked to cover (exempt teachers apart).
struct Spread {
    int teachers = 0;
    int highest = 0, lowest = 0;
    std::vector<std::string> highestNames, lowestNames;
    double mean = 0, deviation = 0;  // population standard deviation
};
Spread spread(const Figures& f);
// The same over any teachers and their lessons covered, in the order given.
Spread spreadOf(const std::vector<std::pair<std::string, int>>& covered);
// "本学期代课最多 12 节（张三），最少 0 节（李四、王五），平均 4.3 节，标准差 2.1 节。"
std::string spreadSentence(const Figures& f);
// The same sentence for any spread, `when` in front ("本周", "2026年9月1日至9月30日").
std::string spreadSentence(const Spread& s, const std::string& when);
// What the operator should know about the tallies, or "" when they agree with the records.
std::string tallyNote(const Figures& f);

// The pay rate per covered lesson, stored with the school's data; nothing when none is set.
std::optional<double> payRate(Store& store);
// Stores the rate, or removes it (no pay column) when nothing is given. One transaction.
void setPayRate(Store& store, std::optional<double> rate);
// Reads a rate as typed: blank gives an empty rate, "30", "25.5", "30元" a rate; a negative,
// unreadable or absurd amount (over 10000 元 a lesson) is refused.
Checked<std::optional<double>> parseRate(const std::string& typed);

// A number for people: "4.3", "12", "25.50" with `decimals` places shown when not whole.
std::string formatNumber(double v, int decimals = 1);

}  // namespace statistics
}  // namespace daike
