#include "statistics/tables.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>

#include "school/term_start.h"
#include "store/week.h"

namespace daike::statistics {

namespace {

// Names sort as the office expects them, in pinyin order.
int compareChinese(const std::string& a, const std::string& b) {
    static UCollator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("zh", &status);
        return U_FAILURE(status) ? nullptr : c;
    }();
    if (!collator) return a.compare(b);
    UErrorCode status = U_ZERO_ERROR;
    const auto r = ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                    static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status)) return a.compare(b);
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

std::string remarkOf(const TeacherFigures& t) {
    std::vector<std::string> parts;
    if (!t.onList) parts.push_back("已不在教师名单");
    if (t.exempt) parts.push_back("免代");
    if (t.tallyDiffers) parts.push_back(t.tally ? "学期累计与记录不符" : "代课节数表中无此教师");
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : "；") + p;
    return out;
}

}  // namespace

Cell Cell::amount(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return {buf, v, 2};
}

Table teacherTable(const Figures& f) {
    Table t;
    t.title = "按教师";
    t.headers = {"教师", "代课节数"};
    for (const auto& r : f.reasons) t.headers.push_back("被代·" + r);
    t.headers.push_back("被代合计");
    t.tallyColumn = static_cast<int>(t.headers.size());
    t.headers.push_back("学期累计");
    t.headers.push_back("记录合计");
    const int payColumn = f.payRate ? static_cast<int>(t.headers.size()) : -1;
    if (f.payRate) t.headers.push_back("酬金(元)");
    // The swaps after the cover's columns: they are no cover and earn nothing.
    t.headers.push_back("调课");
    if (f.showsOwed) t.headers.push_back("欠课");
    t.headers.push_back("备注");

    TableRow totals;
    totals.cells.push_back(Cell::of("合计"));
    std::vector<double> sums(t.headers.size(), 0);
    for (const auto& teacher : f.teachers) {
        TableRow row;
        row.exempt = teacher.exempt;
        row.former = !teacher.onList;
        row.mismatch = teacher.tallyDiffers;
        row.cells.push_back(Cell::of(teacher.name));
        row.cells.push_back(Cell::count(teacher.covered));
        for (int n : teacher.away) row.cells.push_back(Cell::count(n));
        row.cells.push_back(Cell::count(teacher.awayTotal));
        row.cells.push_back(teacher.tally ? Cell::count(*teacher.tally) : Cell::blank());
        row.cells.push_back(Cell::count(teacher.termCovered));
        if (f.payRate) row.cells.push_back(Cell::amount(teacher.covered * *f.payRate));
        row.cells.push_back(Cell::count(teacher.swapped));
        if (f.showsOwed) row.cells.push_back(Cell::count(teacher.owes));
        row.cells.push_back(Cell::of(remarkOf(teacher)));
        for (std::size_t i = 1; i < row.cells.size(); ++i)
            if (row.cells[i].number) sums[i] += *row.cells[i].number;
        t.rows.push_back(std::move(row));
    }
    for (std::size_t i = 1; i + 1 < t.headers.size(); ++i) {
        if (static_cast<int>(i) == payColumn)
            totals.cells.push_back(Cell::amount(sums[i]));
        else
            totals.cells.push_back(Cell::count(static_cast<int>(sums[i])));
    }
    totals.cells.push_back(Cell::blank());
    t.totals = std::move(totals);
    return t;
}

Table weekTable(const Figures& f) {
    Table t;
    t.title = "按周";
    t.headers = {"周次", "代课节数"};
    for (const auto& r : f.reasons) t.headers.push_back(r);
    t.headers.push_back("被代教师数");

    std::unordered_map<std::string, std::size_t> reasonIndex;
    for (std::size_t i = 0; i < f.reasons.size(); ++i) reasonIndex.emplace(f.reasons[i], i);
    struct Week {
        int covers = 0;
        std::vector<int> reasons;
        std::set<std::string> absent;
    };
    // Dates across terms are counted by the calendar week (its Monday, as days since 1970);
    // everything else by the 周次 of the term.
    const bool byMonday = f.range.kind == RangeKind::Dates;
    const bool dated = byMonday || f.termStart.has_value();
    if (dated) t.headers.push_back("日期");
    std::map<long long, Week> weeks;  // week 0: records whose 周次 (or date) reads as none
    if (f.range.kind == RangeKind::Weeks) {
        for (int w = f.range.fromWeek; w <= f.range.toWeek && w - f.range.fromWeek < 1000; ++w)
            weeks[w];
    } else if (f.range.kind == RangeKind::Today || f.range.kind == RangeKind::ThisWeek) {
        weeks[f.range.week];
    }
    for (std::size_t i = 0; i < f.records.size(); ++i) {
        const auto& r = f.records[i];
        long long key = 0;
        if (byMonday) {
            if (const auto d = i < f.recordDates.size() ? calendar::parseDate(f.recordDates[i])
                                                        : std::nullopt) {
                const int weekday = calendar::weekdayNumber(*d);
                key = (*d - std::chrono::days{weekday - 1}).time_since_epoch().count();
            }
        } else {
            key = std::max(weekNumber(r), 0);
        }
        Week& w = weeks[key];
        w.reasons.resize(f.reasons.size());
        ++w.covers;
        ++w.reasons[reasonIndex.at(r.reason.empty() ? std::string("未注明") : r.reason)];
        if (!r.absent.empty()) w.absent.insert(r.absent);
    }
    TableRow totals;
    totals.cells.push_back(Cell::of("合计"));
    int all = 0;
    std::vector<int> byReason(f.reasons.size(), 0);
    std::set<std::string> absent;
    for (auto& [week, w] : weeks) {
        w.reasons.resize(f.reasons.size());
        TableRow row;
        std::string dates;
        if (byMonday && week != 0) {
            const calendar::Day monday{std::chrono::days{week}};
            const auto start = chineseDate(monday);
            row.cells.push_back(Cell{start, static_cast<double>(week), 0, false});
            dates = weekDatesFrom(monday);
        } else {
            row.cells.push_back(week > 0 ? Cell::count(static_cast<int>(week))
                                         : Cell::of("未注明"));
            if (f.termStart && week > 0 && week < 1000)
                dates = weekDates(*f.termStart, static_cast<int>(week));
        }
        row.cells.push_back(Cell::count(w.covers));
        for (std::size_t i = 0; i < w.reasons.size(); ++i) {
            row.cells.push_back(Cell::count(w.reasons[i]));
            byReason[i] += w.reasons[i];
        }
        row.cells.push_back(Cell::count(static_cast<int>(w.absent.size())));
        if (dated) row.cells.push_back(Cell::of(dates));
        all += w.covers;
        absent.insert(w.absent.begin(), w.absent.end());
        t.rows.push_back(std::move(row));
    }
    totals.cells.push_back(Cell::count(all));
    for (int n : byReason) totals.cells.push_back(Cell::count(n));
    totals.cells.push_back(Cell::count(static_cast<int>(absent.size())));
    if (dated) totals.cells.push_back(Cell::blank());
    t.totals = std::move(totals);
    return t;
}

Table recordTable(const Figures& f) {
    Table t;
    t.title = "代课明细";
    t.headers = {"周次", "星期", "被代", "性质", "代者", "班级", "课目", "节次"};
    for (const auto& r : f.records) {
        TableRow row;
        const int number = weekNumber(r);
        row.cells.push_back(number > 0 ? Cell::count(number) : Cell::of(r.week));
        row.cells.push_back(
            r.weekday >= 1 && r.weekday <= week::kCalendarDays
                ? Cell{week::weekdayName(r.weekday), static_cast<double>(r.weekday), 0}
                : Cell::blank());
        row.cells.push_back(Cell::of(r.absent));
        row.cells.push_back(Cell::of(r.reason));
        row.cells.push_back(Cell::of(r.substitute));
        row.cells.push_back(Cell::of(r.cls));
        row.cells.push_back(Cell::of(r.subject));
        row.cells.push_back(Cell::count(r.period));
        t.rows.push_back(std::move(row));
    }
    return t;
}

void sortTable(Table& t, int column, bool descending) {
    if (column < 0 || column >= static_cast<int>(t.headers.size())) return;
    const auto c = static_cast<std::size_t>(column);
    auto less = [&](const TableRow& a, const TableRow& b) {
        const Cell empty;
        const Cell& x = c < a.cells.size() ? a.cells[c] : empty;
        const Cell& y = c < b.cells.size() ? b.cells[c] : empty;
        const bool xBlank = x.text.empty() && !x.number, yBlank = y.text.empty() && !y.number;
        if (xBlank || yBlank) return !xBlank && yBlank;  // blanks last either way
        int cmp;
        if (x.number && y.number)
            cmp = *x.number < *y.number ? -1 : (*y.number < *x.number ? 1 : 0);
        else if (x.number != y.number)
            cmp = x.number ? -1 : 1;  // numbers before texts
        else
            cmp = compareChinese(x.text, y.text);
        return descending ? cmp > 0 : cmp < 0;
    };
    std::stable_sort(t.rows.begin(), t.rows.end(), less);
}

Chart chartOf(const Figures& f, const Table& teachers) {
    Chart chart;
    chart.title = f.range.spoken() + "各教师代课节数";
    chart.bars = barsOf(f.teachers, teachers);
    chart.mean = spread(f).mean;
    chart.sentence = spreadSentence(f);
    return chart;
}

}  // namespace daike::statistics
