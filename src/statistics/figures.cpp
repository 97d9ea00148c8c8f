#include "statistics/figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <unordered_map>

#include "engine/swaps.h"
#include "school/term_archive.h"
#include "school/term_start.h"
#include "store/store.h"
#include "store/tables/archive.h"
#include "store/tables/covers.h"
#include "store/tables/exempt_list.h"
#include "store/tables/settings.h"
#include "store/tables/swaps.h"
#include "store/tables/tallies.h"
#include "store/tables/teachers.h"
#include "store/text.h"
#include "store/value.h"
#include "store/week.h"

namespace daike::statistics {

namespace {

std::string reasonOf(const std::string& stored) {
    return stored.empty() ? std::string("未注明") : stored;
}

std::string trimmed(std::string_view s) {
    return std::string(text::trimmed(s));
}

std::string names(const std::vector<std::string>& list) {
    // A long list of equal teachers is cut short: the sentence has to fit under the chart.
    std::string out;
    const std::size_t shown = std::min<std::size_t>(list.size(), 3);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i) out += "、";
        out += list[i];
    }
    if (list.size() > shown) out += "等" + std::to_string(list.size()) + "人";
    return out;
}

}  // namespace

bool Range::contains(int recordWeek, int recordWeekday) const {
    switch (kind) {
        case RangeKind::Today:
            return recordWeek == week && recordWeekday == weekday;
        case RangeKind::ThisWeek:
            return recordWeek == week;
        case RangeKind::Weeks:
            return recordWeek >= fromWeek && recordWeek <= toWeek;
        case RangeKind::Term:
            return true;
        case RangeKind::PastTerm:
        case RangeKind::Dates:
            return false;  // not this term's records
    }
    return false;
}

Range Range::pastTerm(std::string name) {
    Range r;
    r.kind = RangeKind::PastTerm;
    r.name = std::move(name);
    return r;
}

Range Range::month(int year, int month) {
    const auto first = calendar::makeDay(year, static_cast<unsigned>(month), 1);
    // The day before the first of the next month.
    const auto next = month == 12 ? calendar::makeDay(year + 1, 1, 1)
                                  : calendar::makeDay(year, static_cast<unsigned>(month) + 1, 1);
    Range r = days(first, next - std::chrono::days{1});
    r.name = std::to_string(year) + "年" + std::to_string(month) + "月";
    return r;
}

Range Range::schoolYear(int firstYear) {
    Range r = days(calendar::makeDay(firstYear, 9, 1), calendar::makeDay(firstYear + 1, 8, 31));
    r.name = std::to_string(firstYear) + "—" + std::to_string(firstYear + 1) + "学年";
    return r;
}

Range Range::days(calendar::Day from, calendar::Day to) {
    Range r;
    r.kind = RangeKind::Dates;
    r.from = isoDate(from);
    r.to = isoDate(to);
    const std::string a = chineseDate(from), b = chineseDate(to);
    // "2026年9月1日至9月15日": the year once when both ends share it.
    r.name = from == to ? a : a + "至" + (a.substr(0, 7) == b.substr(0, 7) ? b.substr(7) : b);
    return r;
}

std::vector<Range> otherRanges(Store& store) {
    std::vector<Range> out;
    const auto past = archive::terms(store);
    for (auto it = past.rbegin(); it != past.rend(); ++it) out.push_back(Range::pastTerm(*it));
    std::set<std::string> months;
    for (auto& m : archive::months(store)) months.insert(m);
    for (const auto& a : termForArchive(store))
        if (a.date.size() >= 7) months.insert(a.date.substr(0, 7));
    std::set<int> years;
    for (const auto& m : months) {
        const int y = std::stoi(m.substr(0, 4)), mo = std::stoi(m.substr(5, 2));
        years.insert(mo >= 9 ? y : y - 1);
    }
    for (auto it = years.rbegin(); it != years.rend(); ++it) out.push_back(Range::schoolYear(*it));
    for (auto it = months.rbegin(); it != months.rend(); ++it)
        out.push_back(Range::month(std::stoi(it->substr(0, 4)), std::stoi(it->substr(5, 2))));
    return out;
}

std::string weekDatesFrom(calendar::Day monday) {
    auto monthDay = [](calendar::Day d) {
        const std::string c = chineseDate(d);
        return c.substr(c.find("年") + std::string("年").size());
    };
    return monthDay(monday) + "至" + monthDay(monday + std::chrono::days{week::kDays - 1});
}

std::string rangeDates(const Range& range, std::optional<calendar::Day> termStart) {
    if (range.kind == RangeKind::Dates) {
        const auto from = calendar::parseDate(range.from), to = calendar::parseDate(range.to);
        return from && to ? Range::days(*from, *to).name : range.name;
    }
    if (!termStart) return "";
    switch (range.kind) {
        case RangeKind::Today:
            if (range.week < 1 || range.weekday < 1 || range.weekday > week::kDays) return "";
            return chineseDate(calendar::dateOf(*termStart, range.week, range.weekday));
        case RangeKind::ThisWeek:
            return range.week >= 1 ? weekDates(*termStart, range.week) : "";
        case RangeKind::Weeks: {
            if (range.fromWeek < 1 || range.toWeek < range.fromWeek) return "";
            const std::string a = weekDates(*termStart, range.fromWeek),
                              b = weekDates(*termStart, range.toWeek);
            return a.substr(0, a.find("至")) + b.substr(b.find("至"));
        }
        case RangeKind::Term:
        case RangeKind::PastTerm:
            return chineseDate(*termStart) + "起";
        case RangeKind::Dates:
            break;
    }
    return "";
}

std::string weekDates(calendar::Day termStart, int week) {
    return weekDatesFrom(calendar::dateOf(termStart, week, 1));
}

std::string Range::label() const {
    switch (kind) {
        case RangeKind::Today: {
            std::string day = weekday >= 1 && weekday <= week::kCalendarDays
                                  ? week::weekdayName(weekday)
                                  : std::string();
            return "第" + std::to_string(week) + "周" + day;
        }
        case RangeKind::ThisWeek:
            return "第" + std::to_string(week) + "周";
        case RangeKind::Weeks:
            if (fromWeek == toWeek) return "第" + std::to_string(fromWeek) + "周";
            return "第" + std::to_string(fromWeek) + "至" + std::to_string(toWeek) + "周";
        case RangeKind::Term:
            return "本学期";
        case RangeKind::PastTerm:
        case RangeKind::Dates:
            return name;
    }
    return {};
}

std::string Range::spoken() const {
    switch (kind) {
        case RangeKind::Today:
            return "今天";
        case RangeKind::ThisWeek:
            return "本周";
        default:
            return label();
    }
}

// The number a record's 周次 reads as (its leading number, rounded), 0 when it reads as none.
int weekNumber(const CoverRecord& r) {
    const double d = leadingNumber(r.week);
    return std::isfinite(d) && std::fabs(d) <= 9e18 ? static_cast<int>(std::llround(d)) : 0;
}

WeekSpan weeksInRecords(Store& store) {
    WeekSpan span;
    for (const auto& r : covers::read(store, CoverTable::Term)) {
        const int w = weekNumber(r);
        if (w <= 0) continue;
        if (span.first == 0 || w < span.first) span.first = w;
        span.last = std::max(span.last, w);
    }
    return span;
}

namespace {

// Whether a slot of a swap kept with `termStart` (as 开学第一天 held it) falls in the range: a
// range of this term by its weeks, a past term by its name, dates by the slot's date.
bool swapSlotIn(const Range& range, const std::string& termStart, const std::string& thisTerm,
                const Slot& slot) {
    if (range.thisTerm()) return termStart == thisTerm && range.contains(slot.week, slot.weekday);
    const auto start = calendar::parseDate(termStart);
    if (range.kind == RangeKind::PastTerm)
        return termStart != thisTerm && start && termName(start) == range.name;
    CoverRecord day;
    day.week = std::to_string(slot.week);
    day.weekday = slot.weekday;
    const std::string date = recordDate(start, day);
    return !date.empty() && range.from <= date && date <= range.to;
}

// The swaps' columns: who taught a colleague's lesson by a swap in the range, and who owes a
// lesson of this term's open one-way swaps. Teachers no longer on the list are not added for
// a swap alone.
void countSwaps(Store& store, const Range& range,
                const std::unordered_map<std::string, std::size_t>& index, Figures& f) {
    const std::string thisTerm = readTermStartText(store).value_or("");
    auto count = [&](const std::string& name, int TeacherFigures::*field) {
        if (auto it = index.find(name); it != index.end()) ++(f.teachers[it->second].*field);
    };
    for (const auto& s : swaps::all(store)) {
        if (swapSlotIn(range, s.termStart, thisTerm, s.first)) {
            count(s.colleague, &TeacherFigures::swapped);
            ++f.swapped;
        }
        if (s.second && swapSlotIn(range, s.termStart, thisTerm, *s.second)) {
            count(s.teacher, &TeacherFigures::swapped);
            ++f.swapped;
        }
    }
    f.showsOwed = range.thisTerm();
    if (f.showsOwed)
        for (const auto& o : swapping::owed(store, calendar::Day{}))
            count(o.swap.teacher, &TeacherFigures::owes);
}

}  // namespace

Figures compute(Store& store, const Range& range) {
    Figures f;
    f.range = range;
    f.payRate = payRate(store);

    std::unordered_map<std::string, std::size_t> index;  // name -> place in f.teachers
    for (const auto& name : teachers::names(store)) {
        if (name.empty() || index.count(name)) continue;
        index.emplace(name, f.teachers.size());
        TeacherFigures t;
        t.name = name;
        f.teachers.push_back(std::move(t));
    }
    std::set<std::string> exempt;
    for (const auto& name : exemptlist::names(store)) exempt.insert(trimmed(name));
    std::unordered_map<std::string, int> tallyOf;
    // The ranking reads the first row of a name; so do we. A count typed in as a fraction is
    // rounded, as the records are counted in whole lessons.
    for (const auto& t : tallies::all(store))
        tallyOf.emplace(t.name, static_cast<int>(Value(t.term).toInt()));

    // The reasons the assignment screen offers, always shown in this order.
    for (const auto r : week::kStatisticsReasons) f.reasons.emplace_back(r);
    std::unordered_map<std::string, std::size_t> reasonIndex;
    for (std::size_t i = 0; i < f.reasons.size(); ++i) reasonIndex.emplace(f.reasons[i], i);

    std::unordered_map<std::string, int> termCovered;
    std::vector<std::string> leftInRange;  // teachers who have left, in order of first record
    std::set<std::string> leftSeen;
    auto addReason = [&](const CoverRecord& r) {
        const std::string reason = reasonOf(r.reason);
        if (!reasonIndex.count(reason)) {
            reasonIndex.emplace(reason, f.reasons.size());
            f.reasons.push_back(reason);
        }
    };
    auto take = [&](CoverRecord r, std::string date) {
        addReason(r);
        for (const std::string* n : {&r.substitute, &r.absent}) {
            if (n->empty() || index.count(*n) || leftSeen.count(*n)) continue;
            leftSeen.insert(*n);
            leftInRange.push_back(*n);
        }
        f.records.push_back(std::move(r));
        f.recordDates.push_back(std::move(date));
    };
    {
        // This term's records give the tallies' check whatever the range, and the reasons'
        // columns stay those of the term.
        const auto start = readTermStart(store);
        for (auto& r : covers::read(store, CoverTable::Term)) {
            ++termCovered[r.substitute];
            addReason(r);
            if (range.thisTerm() && range.contains(weekNumber(r), r.weekday)) {
                std::string date = recordDate(start, r);
                take(std::move(r), std::move(date));
            }
        }
        if (range.thisTerm()) f.termStart = start;
    }
    if (range.kind == RangeKind::PastTerm) {
        for (auto& a : archive::ofTerm(store, range.name)) {
            if (!f.termStart) f.termStart = calendar::parseDate(a.termStart);
            take(std::move(a.record), std::move(a.date));
        }
    } else if (range.kind == RangeKind::Dates) {
        for (auto& c : coversBetween(store, range.from, range.to))
            take(std::move(c.record), std::move(c.date));
    }
    for (const auto& n : leftInRange) {
        index.emplace(n, f.teachers.size());
        TeacherFigures t;
        t.name = n;
        t.onList = false;
        f.teachers.push_back(std::move(t));
    }
    for (auto& t : f.teachers) {
        t.exempt = exempt.count(t.name) > 0;
        t.away.assign(f.reasons.size(), 0);
        if (auto it = tallyOf.find(t.name); it != tallyOf.end()) t.tally = it->second;
        if (auto it = termCovered.find(t.name); it != termCovered.end()) t.termCovered = it->second;
        if (t.tally) {
            t.tallyDiffers = *t.tally != t.termCovered;
            if (t.tallyDiffers) ++f.mismatches;
        } else if (t.onList) {
            t.tallyDiffers = true;
            ++f.missingTallies;
        }
    }
    countSwaps(store, range, index, f);
    for (const auto& r : f.records) {
        ++f.covered;
        if (auto it = index.find(r.substitute); it != index.end()) ++f.teachers[it->second].covered;
        if (auto it = index.find(r.absent); it != index.end()) {
            auto& t = f.teachers[it->second];
            ++t.away[reasonIndex.at(reasonOf(r.reason))];
            ++t.awayTotal;
        }
    }
    return f;
}

Spread spread(const Figures& f) {
    std::vector<std::pair<std::string, int>> covered;
    for (const auto& t : f.teachers)
        if (t.onList && !t.exempt) covered.emplace_back(t.name, t.covered);
    return spreadOf(covered);
}

Spread spreadOf(const std::vector<std::pair<std::string, int>>& covered) {
    Spread s;
    double sum = 0;
    for (const auto& [name, n] : covered) {
        if (s.teachers == 0 || n > s.highest) {
            s.highest = n;
            s.highestNames.clear();
        }
        if (n == s.highest) s.highestNames.push_back(name);
        if (s.teachers == 0 || n < s.lowest) {
            s.lowest = n;
            s.lowestNames.clear();
        }
        if (n == s.lowest) s.lowestNames.push_back(name);
        sum += n;
        ++s.teachers;
    }
    if (s.teachers == 0) return s;
    s.mean = sum / s.teachers;
    double squares = 0;
    for (const auto& [name, n] : covered) squares += (n - s.mean) * (n - s.mean);
    s.deviation = std::sqrt(squares / s.teachers);
    return s;
}

std::string spreadSentence(const Figures& f) {
    return spreadSentence(spread(f), f.range.spoken());
}

std::string spreadSentence(const Spread& s, const std::string& when) {
    if (s.teachers == 0) return when + "没有可以统计的教师（教师名单为空，或都是免代教师）。";
    if (s.highest == 0) return when + "没有代课记录。";
    return when + "代课最多 " + std::to_string(s.highest) + " 节（" + names(s.highestNames) +
           "），最少 " + std::to_string(s.lowest) + " 节（" + names(s.lowestNames) + "），平均 " +
           formatNumber(s.mean) + " 节，标准差 " + formatNumber(s.deviation) + " 节。";
}

std::string tallyNote(const Figures& f) {
    std::string note;
    if (f.mismatches > 0) {
        note += std::to_string(f.mismatches) +
                "位教师的学期累计与代课记录合计不符（表中标红）。新学期开始时，"
                "“代课节数初始化”和“代课明细清零”（数据初始化→期初基本操作）要一起运行，"
                "只运行其中一项就会这样。";
    }
    if (f.missingTallies > 0) {
        note +=
            std::to_string(f.missingTallies) +
            "位教师在代课节数表中没有记录，排列代课人选时不会计算其代课节数：教师名单变动后请运行"
            "“代课节数初始化”。";
    }
    return note;
}

std::optional<double> payRate(Store& store) {
    return settings::payRate(store);
}

void setPayRate(Store& store, std::optional<double> rate) {
    store.transaction([&] { settings::setPayRate(store, rate); });
}

Checked<std::optional<double>> parseRate(const std::string& typed) {
    const Refusal refused{
        "每节酬金请输入不超过10000的金额（元），例如 30 或 25.5；不计酬金请留空。"};
    std::string t = trimmed(typed);
    for (const char* unit : {"元/节", "元每节", "元"}) {
        const std::string u(unit);
        if (t.size() >= u.size() && t.compare(t.size() - u.size(), u.size(), u) == 0) {
            t = trimmed(t.substr(0, t.size() - u.size()));
            break;
        }
    }
    if (t.empty()) return std::optional<double>();
    int dots = 0, digits = 0, decimals = 0;
    for (char c : t) {
        if (c == '.') {
            ++dots;
        } else if (c >= '0' && c <= '9') {
            ++digits;
            if (dots) ++decimals;
        } else {
            return refused;
        }
    }
    if (dots > 1 || digits == 0 || decimals > 2) return refused;
    const double v = std::strtod(t.c_str(), nullptr);
    if (!(v >= 0) || v > 10000) return refused;
    return std::optional<double>(v);
}

std::string formatNumber(double v, int decimals) {
    if (std::fabs(v - std::round(v)) < 1e-9)
        return std::to_string(static_cast<long long>(std::round(v)));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

}  // namespace daike::statistics
