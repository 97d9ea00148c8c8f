#include "engine/day_board.h"

#include <algorithm>

#include "basedata/classes.h"
#include "engine/swaps.h"
#include "engine/telling.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/queue.h"
#include "store/value.h"

namespace daike::board {

int Board::covered() const {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [](const Line& l) { return !l.waiting && !l.swapped; }));
}

int Board::waiting() const {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const Line& l) { return l.waiting; }));
}

int Board::swapped() const {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const Line& l) { return l.swapped; }));
}

std::string countsText(const Board& b) {
    std::string s =
        "代课" + std::to_string(b.covered()) + "节，待安排" + std::to_string(b.waiting()) + "节";
    if (b.swapped() > 0) s += "，调课" + std::to_string(b.swapped()) + "节";
    return s;
}

std::string takerText(const Line& l) {
    if (l.waiting) return "待安排";
    return l.swapped ? "调：" + l.substitute : l.substitute;
}

namespace {

// The board's line of a cover record; `changed`: the substitutes were not told of it as it is.
Line coverLine(const CoverRecord& r, bool changed) {
    Line l;
    l.period = r.period;
    l.cls = r.cls;
    l.subject = r.subject;
    l.absent = r.absent;
    l.reason = r.reason;
    l.substitute = r.substitute;
    l.changed = changed;
    return l;
}

}  // namespace

bool onDay(const CoverRecord& r, int week, int weekday) {
    return leadingNumber(r.week) == week && r.weekday == weekday;
}

Board load(Store& store, int week, int weekday) {
    Board b;
    b.week = week;
    b.weekday = weekday;
    b.times = readPeriodTimes(store);
    const auto told = telling::sinceTold(store);
    auto ofThisDay = [&](const CoverRecord& r) { return onDay(r, week, weekday); };
    for (const auto& r : covers::read(store, CoverTable::Today)) {
        // The records of a day not yet cleared by "新的一天" are not today's cover.
        if (!ofThisDay(r)) {
            ++b.otherDays;
            continue;
        }
        b.lines.push_back(coverLine(r, telling::untold(told, r)));
    }
    if (told.toldBefore)
        for (const auto& r : told.withdrawn)
            if (ofThisDay(r)) b.withdrawn.push_back(coverLine(r, true));
    LessonFilter ofDay;
    ofDay.weekday = weekday;
    for (const auto& q : queue::read(store, ofDay))
        b.lines.push_back({q.period, q.cls, q.subject, q.teacher, {}, {}, true, false, false, {}});
    for (const auto& t : swapping::onDay(store, week, weekday)) {
        b.lines.push_back({t.period, t.cls, t.ownerSubject, t.owner, t.reason, t.taker, false,
                           false, true, swapping::boardText(t)});
    }
    // By period, then class as the school counts them; the absent teachers in the order they
    // first appear.
    std::stable_sort(b.lines.begin(), b.lines.end(), [](const Line& x, const Line& y) {
        return x.period != y.period ? x.period < y.period : classBefore(x.cls, y.cls);
    });
    for (const auto& l : b.lines) {
        // The colleague whose lesson the first teacher takes in return is at school, and so are
        // both teachers of a swap agreed between them.
        if (l.swapped && l.reason.empty()) continue;
        auto a = std::find_if(b.absent.begin(), b.absent.end(),
                              [&](const Absent& x) { return x.name == l.absent; });
        if (a == b.absent.end()) {
            b.absent.push_back({l.absent, {}});
            a = b.absent.end() - 1;
        }
        if (l.reason.empty()) continue;
        // A teacher may have been covered under two reasons (morning and afternoon).
        bool known = false;
        std::size_t from = 0;
        while (!known && from <= a->reason.size()) {
            const auto to = std::min(a->reason.find("、", from), a->reason.size());
            known = a->reason.compare(from, to - from, l.reason) == 0;
            from = to + std::string("、").size();
        }
        if (!known) a->reason += (a->reason.empty() ? "" : "、") + l.reason;
    }
    // Away in a free period: booked with the free-period flag.
    {
        for (const auto& booked : away::all(store)) {
            if (!booked.freePeriod) continue;
            auto a = std::find_if(b.away.begin(), b.away.end(),
                                  [&](const Away& x) { return x.name == booked.name; });
            if (a == b.away.end()) {
                b.away.push_back({booked.name, {}});
                a = b.away.end() - 1;
            }
            if (std::find(a->periods.begin(), a->periods.end(), booked.period) == a->periods.end())
                a->periods.push_back(booked.period);
        }
        for (auto& a : b.away) std::sort(a.periods.begin(), a.periods.end());
        // The absent teachers stand above with their reasons already.
        std::erase_if(b.away, [&](const Away& a) {
            return std::any_of(b.absent.begin(), b.absent.end(),
                               [&](const Absent& x) { return x.name == a.name; });
        });
    }
    return b;
}

std::string periodList(const std::vector<int>& periods) {
    std::string s = "第";
    for (std::size_t i = 0; i < periods.size(); ++i)
        s += (i ? "、" : "") + std::to_string(periods[i]);
    return s + "节";
}

}  // namespace daike::board
