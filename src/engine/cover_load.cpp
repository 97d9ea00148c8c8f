#include "engine/cover_load.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

#include "store/store.h"
#include "store/tables/covers.h"
#include "store/tables/tallies.h"
#include "store/tables/timetable.h"

namespace daike::coverload {

std::string strip(const Load& load) {
    std::string out;
    for (int p = 1; p <= week::kPeriods; ++p) {
        if (!out.empty()) out += ' ';
        switch (load.periods[static_cast<std::size_t>(p - 1)]) {
            case Slot::Free:
                out += std::to_string(p);
                break;
            case Slot::Taught:
                out += "■";
                break;
            case Slot::Covered:
                out += "□";
                break;
        }
    }
    return out;
}

DayLoads DayLoads::read(Store& store, std::string_view weekText, int weekday) {
    DayLoads d;
    auto mark = [&](const std::string& name, int period, Slot slot) {
        if (!week::isPeriod(period)) return;
        auto& s = d.loads_[name].periods[static_cast<std::size_t>(period - 1)];
        // A period he teaches stays taught when he also covers in it.
        if (s == Slot::Free || slot == Slot::Taught) s = slot;
    };
    store.transaction([&] {
        LessonFilter lessons;
        lessons.weekday = weekday;
        for (const auto& l : timetable::read(store, lessons))
            mark(l.teacher, l.period, Slot::Taught);
        CoverFilter day;
        day.weekday = weekday;
        for (const auto& c : covers::read(store, CoverTable::Today, day))
            mark(c.substitute, c.period, Slot::Covered);
        CoverFilter thisWeek;
        thisWeek.week = std::string(weekText);
        for (const auto& c : covers::read(store, CoverTable::Term, thisWeek))
            ++d.loads_[c.substitute].week;
        std::unordered_set<std::string> tallied;
        for (const auto& t : tallies::all(store)) {
            // The first row of a name is his, as the ranking reads it.
            if (t.name.empty() || !tallied.insert(t.name).second) continue;
            auto& l = d.loads_[t.name];
            l.today = static_cast<int>(t.today);
            l.term = static_cast<int>(t.term);
        }
    });
    return d;
}

Load DayLoads::of(const std::string& name) const {
    auto it = loads_.find(name);
    return it == loads_.end() ? Load{} : it->second;
}

void DayLoads::addCover(const std::string& name, int period) {
    auto& l = loads_[name];
    if (week::isPeriod(period)) {
        auto& s = l.periods[static_cast<std::size_t>(period - 1)];
        if (s == Slot::Free) s = Slot::Covered;
    }
    ++l.today;
    ++l.week;
    ++l.term;
}

Limit reached(const rules::CoverRules& rules, const Load& load) {
    if (rules.perDay && load.today >= *rules.perDay) return Limit::Day;
    if (rules.perWeek && load.week >= *rules.perWeek) return Limit::Week;
    return Limit::None;
}

std::string limitText(Limit limit) {
    switch (limit) {
        case Limit::Day:
            return "已达每日上限";
        case Limit::Week:
            return "已达每周上限";
        case Limit::None:
            break;
    }
    return {};
}

std::string overLimitQuestion(Limit limit, const Load& load) {
    switch (limit) {
        case Limit::Day:
            return "已代" + std::to_string(load.today) + "节，超过每日上限，仍然安排？";
        case Limit::Week:
            return "本周已代" + std::to_string(load.week) + "节，超过每周上限，仍然安排？";
        case Limit::None:
            break;
    }
    return {};
}

bool inARow(const Load& load, int period) {
    auto busy = [&](int p) {
        return week::isPeriod(p) && load.periods[static_cast<std::size_t>(p - 1)] != Slot::Free;
    };
    return busy(period - 1) || busy(period + 1);
}

std::vector<Standing> arrange(std::vector<ranking::Candidate>& ranked, const DayLoads& loads,
                              const rules::CoverRules& rules, bool balanced) {
    std::vector<Standing> standings;
    standings.reserve(ranked.size());
    for (const auto& c : ranked) {
        Standing s{loads.of(c.name), Limit::None};
        s.limit = reached(rules, s.load);
        standings.push_back(s);
    }
    const bool limits = rules.perDay || rules.perWeek;
    if (!limits && !balanced) return standings;
    std::vector<std::size_t> order(ranked.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const bool la = standings[a].limit != Limit::None, lb = standings[b].limit != Limit::None;
        if (la != lb) return lb;
        if (!balanced) return false;
        if (ranked[a].classMark != ranked[b].classMark)
            return ranked[a].classMark > ranked[b].classMark;
        if (standings[a].load.today != standings[b].load.today)
            return standings[a].load.today < standings[b].load.today;
        return standings[a].load.week < standings[b].load.week;
    });
    std::vector<ranking::Candidate> rows;
    std::vector<Standing> out;
    rows.reserve(order.size());
    out.reserve(order.size());
    for (auto i : order) {
        rows.push_back(std::move(ranked[i]));
        out.push_back(standings[i]);
    }
    ranked = std::move(rows);
    return out;
}

int firstAllowed(const std::vector<Standing>& standings, const rules::CoverRules& rules,
                 int period) {
    for (std::size_t i = 0; i < standings.size(); ++i) {
        if (standings[i].limit != Limit::None) continue;
        if (!rules.inARow && inARow(standings[i].load, period)) continue;
        return static_cast<int>(i);
    }
    return -1;
}

}  // namespace daike::coverload
