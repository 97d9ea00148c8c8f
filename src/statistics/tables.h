// The figures laid out as the tables the office sees: the same cells fill the window, the CSV,
// the sheets of the workbook and the printed page, so they can never disagree.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "statistics/figures.h"

namespace daike::statistics {

struct Cell {
    std::string text;
    std::optional<double> number;  // set for counts and amounts: written to sheets as numbers
    int decimals = 0;              // places shown for the number
    bool percent = false;          // the number is a percentage (12.5 shown as "12.5%")
    static Cell of(std::string t) { return {std::move(t), std::nullopt, 0}; }
    static Cell count(int n) { return {std::to_string(n), n, 0}; }
    static Cell amount(double v);
    static Cell blank() { return {}; }
};

struct TableRow {
    std::vector<Cell> cells;
    bool exempt = false;    // shown apart: the teacher is never asked to cover
    bool former = false;    // no longer on the teacher list
    bool mismatch = false;  // the term tally disagrees with the records
};

struct Table {
    std::string title;  // the sheet's name
    std::vector<std::string> headers;
    std::vector<TableRow> rows;
    std::optional<TableRow> totals;  // always last, whatever the order of the rows
    int tallyColumn = -1;            // the column flagged when the tally disagrees
};

// Per teacher: 教师, 代课节数, 被代·<reason>…, 被代合计, 学期累计, 记录合计, [酬金(元)], 备注.
Table teacherTable(const Figures& f);
// Per week of the range: 周次, 代课节数, <reason>…, 被代教师数.
Table weekTable(const Figures& f);
// Every record of the range: 周次, 星期, 被代, 性质, 代者, 班级, 课目, 节次.
Table recordTable(const Figures& f);

// Sorts the rows by one column: numbers by value, texts in pinyin order, blanks last; ties keep
// their order. The totals stay at the bottom.
void sortTable(Table& t, int column, bool descending);

// One bar of the fairness chart.
struct Bar {
    std::string name;
    int value = 0;
    bool exempt = false;  // drawn apart, not in the mean
};
struct Chart {
    std::string title;      // "本学期各教师代课节数"
    std::vector<Bar> bars;  // teachers on the list, in the order of the rows given
    double mean = 0;        // over the bars that are not exempt
    std::string sentence;   // the spread in words
};
// The chart of the teacher table's rows in their present order (teachers who have left apart).
Chart chartOf(const Figures& f, const Table& teachers);

// The bars of a table's rows in their present order, for any figures per teacher that name
// him, tell whether he is on the list and exempt and how much he covered: teachers who have
// left are not drawn, exempt ones come after the others.
template <class Person>
std::vector<Bar> barsOf(const std::vector<Person>& people, const Table& t) {
    std::unordered_map<std::string, const Person*> byName;
    for (const auto& p : people) byName.emplace(p.name, &p);
    std::vector<Bar> bars, apart;
    for (const auto& row : t.rows) {
        if (row.cells.empty()) continue;
        auto it = byName.find(row.cells[0].text);
        if (it == byName.end() || !it->second->onList) continue;
        Bar bar{it->second->name, it->second->covered, it->second->exempt};
        (bar.exempt ? apart : bars).push_back(std::move(bar));
    }
    bars.insert(bars.end(), apart.begin(), apart.end());
    return bars;
}

}  // namespace daike::statistics
