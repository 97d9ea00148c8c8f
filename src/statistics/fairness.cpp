#include "statistics/fairness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <unordered_map>

#include "school/term_start.h"
#include "store/store.h"
#include "store/tables/covers.h"
#include "store/tables/exempt_list.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/text.h"
#include "store/week.h"

namespace daike::statistics {

namespace {

using namespace std::chrono;

year_month_day ymd(calendar::Day d) {
    return year_month_day{d};
}

std::string monthDay(const year_month_day& d) {
    return std::to_string(static_cast<unsigned>(d.month())) + "月" +
           std::to_string(static_cast<unsigned>(d.day())) + "日";
}

std::string percent(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f%%", v);
    return buf;
}

Cell shareCell(int covered, long long lessons) {
    if (lessons <= 0) return Cell::of("—");
    const double v = 100.0 * covered / static_cast<double>(lessons);
    // The number as shown, so a sheet sorts and sums what the page says.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return {percent(v), std::strtod(buf, nullptr), 1, true};
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : "、") + n;
    return out;
}

// Where a row stands in the sheet: those who can be asked first, then the exempt, then those
// who have left.
int groupOf(const TableRow& r) {
    return r.former ? 2 : (r.exempt ? 1 : 0);
}

}  // namespace

DateRange DateRange::thisWeek(calendar::Day today) {
    const calendar::Day monday = today - days(calendar::weekdayNumber(today) - 1);
    return {DateRangeKind::Week, monday, monday + days(week::kDays - 1)};
}

DateRange DateRange::thisMonth(calendar::Day today) {
    const year_month_day d = ymd(today);
    const calendar::Day first = sys_days(d.year() / d.month() / 1);
    const calendar::Day last = sys_days(year_month_day_last(d.year(), month_day_last(d.month())));
    return {DateRangeKind::Month, first, last};
}

DateRange DateRange::term(calendar::Day termStart, calendar::Day today) {
    return {DateRangeKind::Term, termStart, today};
}

std::string DateRange::dates() const {
    const year_month_day a = ymd(from), b = ymd(to);
    const std::string start = std::to_string(static_cast<int>(a.year())) + "年" + monthDay(a);
    if (from == to) return start;
    if (a.year() != b.year())
        return start + "至" + std::to_string(static_cast<int>(b.year())) + "年" + monthDay(b);
    return start + "至" + monthDay(b);
}

std::string DateRange::label() const {
    const std::string word = spoken();
    return kind == DateRangeKind::Custom ? word : word + "，" + dates();
}

std::string DateRange::spoken() const {
    switch (kind) {
        case DateRangeKind::Week:
            return "本周";
        case DateRangeKind::Month:
            return "本月";
        case DateRangeKind::Term:
            return "本学期";
        case DateRangeKind::Custom:
            break;
    }
    return dates();
}

Checked<DateRange> customRange(const std::string& fromText, const std::string& toText) {
    const auto from = calendar::parseDate(text::trimmed(fromText));
    const auto to = calendar::parseDate(text::trimmed(toText));
    if (!from || !to) return Refusal{"请输入开始和结束日期，例如 2026-09-01 或 2026年9月1日。"};
    if (*to < *from) return Refusal{"结束日期不能早于开始日期。"};
    return DateRange::custom(*from, *to);
}

std::optional<double> FairnessRow::share() const {
    if (lessons <= 0) return std::nullopt;
    return 100.0 * covered / static_cast<double>(lessons);
}

Checked<Fairness> fairness(Store& store, const DateRange& range, calendar::Day today) {
    if (range.to < range.from) return Refusal{"结束日期不能早于开始日期。"};
    const auto termStart = readTermStart(store);
    if (!termStart)
        return Refusal{
            "还没有设定学期第一天，无法按日期统计代课。请先在“学期首日设定”中设定开学第一天。"};

    Fairness f;
    f.range = range;
    std::set<std::string> exempt;
    for (const auto& name : exemptlist::names(store))
        exempt.insert(std::string(text::trimmed(name)));

    std::unordered_map<std::string, std::size_t> index;  // name -> place in f.rows
    std::vector<FairnessRow> asked, apart;
    for (const auto& name : teachers::names(store)) {
        if (name.empty() || index.count(name)) continue;
        index.emplace(name, 0);
        FairnessRow row;
        row.name = name;
        row.exempt = exempt.count(name) > 0;
        (row.exempt ? apart : asked).push_back(std::move(row));
    }
    f.rows = std::move(asked);
    f.rows.insert(f.rows.end(), apart.begin(), apart.end());
    for (std::size_t i = 0; i < f.rows.size(); ++i) index[f.rows[i].name] = i;

    // A record's day is its teaching week and weekday counted from the first day of term; a
    // 周次 that reads as no week has no day and counts in no range of dates.
    for (const auto& r : covers::read(store, CoverTable::Term)) {
        const int w = weekNumber(r);
        if (w < 1 || r.weekday < 1 || r.weekday > week::kCalendarDays) continue;
        if (!range.contains(calendar::dateOf(*termStart, w, r.weekday))) continue;
        ++f.covered;
        if (r.substitute.empty()) continue;
        auto it = index.find(r.substitute);
        if (it == index.end()) {
            FairnessRow row;
            row.name = r.substitute;
            row.onList = false;
            it = index.emplace(r.substitute, f.rows.size()).first;
            f.rows.push_back(std::move(row));
        }
        ++f.rows[it->second].covered;
    }

    // The lessons of the school days of the range: Monday to Friday, none before the term
    // began and none still to come.
    week::PerDay<int> daysOf{};
    const calendar::Day first = std::max(range.from, *termStart);
    const calendar::Day last = std::min(range.to, today);
    for (calendar::Day d = first; d <= last; d += days(1)) {
        const int wd = calendar::weekdayNumber(d);
        if (!week::isWeekday(wd)) continue;
        ++daysOf[static_cast<std::size_t>(wd - 1)];
        ++f.schoolDays;
    }
    const auto perWeekday = timetable::lessonsPerWeekday(store);
    for (auto& row : f.rows) {
        auto it = perWeekday.find(row.name);
        if (it == perWeekday.end()) continue;
        for (std::size_t i = 0; i < daysOf.size(); ++i) row.lessons += it->second[i] * daysOf[i];
    }
    return f;
}

Spread spread(const Fairness& f) {
    std::vector<std::pair<std::string, int>> covered;
    for (const auto& r : f.rows)
        if (r.onList && !r.exempt) covered.emplace_back(r.name, r.covered);
    return spreadOf(covered);
}

std::string spreadSentence(const Fairness& f) {
    return spreadSentence(spread(f), f.range.spoken());
}

std::string apartNote(const Fairness& f) {
    std::vector<std::string> exempt, former;
    for (const auto& r : f.rows) {
        if (!r.onList)
            former.push_back(r.name);
        else if (r.exempt)
            exempt.push_back(r.name);
    }
    std::string note;
    if (!exempt.empty())
        note += "免代教师（灰色，不计入最多、最少和平均）：" + joined(exempt) + "。";
    if (!former.empty()) note += "已不在教师名单（只列代课节数）：" + joined(former) + "。";
    return note;
}

Table fairnessTable(const Fairness& f) {
    Table t;
    t.title = "代课公平性";
    t.headers = {"教师", "代课节数", "任课节数", "代课占比"};
    int covered = 0;
    long long lessons = 0;
    for (const auto& r : f.rows) {
        TableRow row;
        row.exempt = r.exempt;
        row.former = !r.onList;
        row.cells = {Cell::of(r.name), Cell::count(r.covered),
                     Cell{std::to_string(r.lessons), static_cast<double>(r.lessons), 0},
                     shareCell(r.covered, r.lessons)};
        covered += r.covered;
        lessons += r.lessons;
        t.rows.push_back(std::move(row));
    }
    TableRow totals;
    totals.cells = {Cell::of("合计"), Cell::count(covered),
                    Cell{std::to_string(lessons), static_cast<double>(lessons), 0},
                    shareCell(covered, lessons)};
    t.totals = std::move(totals);
    return t;
}

void sortFairnessTable(Table& t, int column, bool descending) {
    sortTable(t, column, descending);
    std::stable_sort(t.rows.begin(), t.rows.end(),
                     [](const TableRow& a, const TableRow& b) { return groupOf(a) < groupOf(b); });
}

Chart fairnessChart(const Fairness& f, const Table& t) {
    Chart chart;
    chart.title = "各教师代课节数（" + f.range.label() + "）";
    chart.bars = barsOf(f.rows, t);
    chart.mean = spread(f).mean;
    chart.sentence = spreadSentence(f);
    return chart;
}

std::string fairnessFileName(const DateRange& range, const std::string& extension) {
    std::string name = "代课公平性-" + calendar::stamp(range.from);
    if (range.to != range.from) name += "-" + calendar::stamp(range.to);
    return name + "." + extension;
}

}  // namespace daike::statistics
