#include "basedata/timetable_grids.h"

#include <algorithm>
#include <functional>
#include <map>

#include "basedata/classes.h"

namespace daike {

namespace {

using LessonText = std::function<std::string(const TimetableRow&)>;

// Grids for the names in order, filled from the lessons keyed by `keyOf`.
std::vector<WeekGrid> fill(const std::vector<TimetableRow>& rows,
                           const std::vector<std::string>& names,
                           const std::function<const std::string&(const TimetableRow&)>& keyOf,
                           const LessonText& text, const std::string& titleSuffix) {
    std::vector<WeekGrid> grids;
    std::map<std::string, std::size_t> index;
    for (const auto& name : names) {
        if (name.empty() || !index.emplace(name, grids.size()).second) continue;
        WeekGrid g;
        g.name = name;
        g.title = name + titleSuffix;
        grids.push_back(std::move(g));
    }
    for (const auto& r : rows) {
        if (!r.onGrid || !week::isWeekday(r.weekday) || !week::isPeriod(r.period)) continue;
        const auto it = index.find(keyOf(r));
        if (it == index.end()) continue;
        WeekGrid& g = grids[it->second];
        auto& cell = g.cells[static_cast<std::size_t>(r.period - 1)]
                            [static_cast<std::size_t>(r.weekday - 1)];
        if (!cell.empty()) cell += "\n";
        cell += text(r);
        ++g.lessons;
    }
    return grids;
}

bool usable(const TimetableRow& r, const std::string& key) {
    return r.onGrid && !key.empty();
}

}  // namespace

std::vector<WeekGrid> classGrids(const std::vector<TimetableRow>& rows,
                                 const std::vector<std::string>& classes,
                                 const char* teacherSeparator) {
    std::vector<std::string> names = classes;
    std::vector<std::string> extra;
    for (const auto& r : rows)
        if (usable(r, r.cls) && std::find(names.begin(), names.end(), r.cls) == names.end() &&
            std::find(extra.begin(), extra.end(), r.cls) == extra.end())
            extra.push_back(r.cls);
    std::stable_sort(extra.begin(), extra.end(), classBefore);
    names.insert(names.end(), extra.begin(), extra.end());
    const std::string separator = teacherSeparator;
    return fill(
        rows, names, [](const TimetableRow& r) -> const std::string& { return r.cls; },
        [&](const TimetableRow& r) {
            return r.teacher.empty() ? r.subject : r.subject + separator + r.teacher;
        },
        "班课表");
}

std::vector<WeekGrid> teacherGrids(const std::vector<TimetableRow>& rows,
                                   const std::vector<std::string>& teachers,
                                   const char* subjectSeparator) {
    std::vector<std::string> names = teachers;
    for (const auto& r : rows)
        if (usable(r, r.teacher) && std::find(names.begin(), names.end(), r.teacher) == names.end())
            names.push_back(r.teacher);
    return fill(
        rows, names, [](const TimetableRow& r) -> const std::string& { return r.teacher; },
        [separator = std::string(subjectSeparator)](const TimetableRow& r) {
            return r.cls + separator + r.subject;
        },
        "老师课表");
}

bool anyOnGrid(const std::vector<TimetableRow>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const TimetableRow& r) {
        return r.onGrid && week::isWeekday(r.weekday) && week::isPeriod(r.period);
    });
}

}  // namespace daike
