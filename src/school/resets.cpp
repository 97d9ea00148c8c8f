#include "school/resets.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "school/term_archive.h"
#include "school/term_start.h"
#include "store/store.h"
#include "store/tables/archive.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/daily_counts.h"
#include "store/tables/free_slots.h"
#include "store/tables/queue.h"
#include "store/tables/swaps.h"
#include "store/tables/tallies.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/tables/wipe.h"
#include "store/week.h"

namespace daike {

void newDay(Store& store) {
    store.transaction([&] {
        away::clear(store);
        tallies::resetToday(store);
        timetable::clearMarks(store);
        covers::clear(store, CoverTable::Session);
        queue::clear(store);
        covers::clear(store, CoverTable::Today);
        covers::clear(store, CoverTable::Told);
        swaps::clearTold(store);
    });
}

std::string newDayClears(int todaysCovers) {
    return "将清除今天已安排的" + std::to_string(todaysCovers) + "节代课（学期记录保留）";
}

std::optional<std::string> newDayQuestion(Store& store) {
    const auto today = covers::read(store, CoverTable::Today);
    const bool dayInHand = !today.empty() || covers::any(store, CoverTable::Session) ||
                           away::anyone(store) || !queue::read(store).empty() ||
                           !timetable::heldBack(store).empty();
    if (!dayInHand) return std::nullopt;
    return newDayClears(static_cast<int>(today.size())) + "，是否开始新的一天？";
}

namespace {

// The rows of 教师姓名 as the rebuilt tables list them: one per row, Null names kept.
std::vector<std::optional<std::string>> teacherRows(Store& store) {
    std::vector<std::optional<std::string>> out;
    for (auto& t : teachers::all(store)) out.push_back(std::move(t.name));
    return out;
}

}  // namespace

void buildFreeTeachers(Store& store) {
    store.transaction([&] {
        std::vector<std::string> named;
        for (auto& n : teachers::names(store))
            if (!n.empty()) named.push_back(std::move(n));

        // The slots' columns are filled independently, each from the top. A row is added
        // whenever a teacher is reached with the column's cursor past the last row, whether or
        // not that teacher turns out to be free; so the table is as long as the longest column
        // needs, plus one closing empty row.
        std::vector<week::PerSlot<Value>> grid(1);  // the row added to the empty table
        for (int w = 1; w <= week::kDays; ++w) {
            for (int p = 1; p <= week::kPeriods; ++p) {
                const auto k = static_cast<std::size_t>(week::slotIndex(w, p));
                std::unordered_set<std::string> busy;
                LessonFilter slot;
                slot.weekday = w;
                slot.period = p;
                for (const auto& lesson : timetable::read(store, slot)) busy.insert(lesson.teacher);
                std::size_t row = 0;
                for (const auto& t : named) {
                    if (row >= grid.size()) grid.emplace_back();
                    if (busy.count(t)) continue;
                    grid[row][k] = Value(t);
                    ++row;
                }
            }
        }
        grid.emplace_back();  // the closing empty row
        freeslots::replaceAll(store, grid);
    });
}

void countDailyLessons(Store& store) {
    store.transaction([&] {
        const auto counts = timetable::lessonsPerWeekday(store);
        std::vector<DailyCount> rows;
        for (auto& name : teacherRows(store)) {
            DailyCount d;
            if (name)
                if (auto it = counts.find(*name); it != counts.end())
                    for (std::size_t w = 0; w < d.lessons.size(); ++w) {
                        d.lessons[w] = it->second[w];
                        d.total += it->second[w];
                    }
            d.name = std::move(name);
            rows.push_back(std::move(d));
        }
        dailycounts::replaceAll(store, rows);
    });
}

void resetCoverCounts(Store& store) {
    store.transaction([&] { tallies::rebuild(store, teacherRows(store)); });
}

void clearTermRecords(Store& store) {
    store.transaction([&] {
        keepTermRecords(store);
        covers::clear(store, CoverTable::Term);
    });
}

void emptyAllData(Store& store, PastTerms past) {
    store.transaction([&] {
        // The term's swaps name its teachers and lessons, which go; those of past terms are kept
        // with the archive, which counts them.
        if (past == PastTerms::Keep) {
            keepTermRecords(store);
            swaps::clearTerm(store, readTermStartText(store).value_or(""));
        } else {
            archive::clear(store);
            swaps::clear(store);
        }
        tables::emptyAllButSettings(store);
    });
}

}  // namespace daike
