#include "engine/ranking.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "basedata/class_list.h"
#include "engine/swaps.h"
#include "store/store.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/daily_counts.h"
#include "store/tables/exempt_list.h"
#include "store/tables/free_slots.h"
#include "store/tables/queue.h"
#include "store/tables/tallies.h"
#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike::ranking {

std::vector<std::string> classListEntries(const Value& list) {
    if (list.isNull()) return {};
    return classlist::entries(list.text());
}

bool classListContains(const Value& list, std::string_view cls) {
    return !list.isNull() && classlist::contains(list.text(), cls);
}

Affinity affinity(const TeacherRow& t, std::string_view cls) {
    Affinity a;
    const bool head = t.headOf && *t.headOf == cls;
    if (head) {
        a.letters = "班";
        a.mark = 2;
    }
    for (std::size_t k = 0; k < t.subjectClasses.size(); ++k) {
        const auto& list = t.subjectClasses[k];
        if (list && classlist::contains(*list, cls)) {
            a.letters += week::kMainSubjectLetters[k];
            if (!head) a.mark = 1;
        }
    }
    return a;
}

TeacherRow teacherOf(const std::vector<Value>& values) {
    TeacherRow t;
    auto at = [&](std::size_t i) -> std::optional<std::string> {
        if (i >= values.size() || values[i].isNull()) return std::nullopt;
        return values[i].text();
    };
    t.name = at(0);
    for (int k = 0; k < TeacherRow::kClassValues; ++k)
        t.classValue(k) = at(static_cast<std::size_t>(k) + 1);
    return t;
}

Affinity affinity(const std::vector<Value>& teacherRow, std::string_view cls) {
    return affinity(teacherOf(teacherRow), cls);
}

namespace {

// The weekday of the screen's text, when it names a school day: one digit "1" to "5".
std::optional<int> schoolDay(std::string_view weekdayText) {
    if (weekdayText.size() != 1 || !week::isWeekday(weekdayText[0] - '0')) return std::nullopt;
    return weekdayText[0] - '0';
}

// Substitutes of the term's records of that day and period. Without a known week every week's
// records of the weekday would look alike, so none is taken.
void addCoveringInTerm(Store& store, std::string_view weekText, int day, int period,
                       std::unordered_set<std::string>& into) {
    if (weekText.empty()) return;
    CoverFilter f;
    f.weekday = day;
    f.period = period;
    f.week = std::string(weekText);
    for (auto& c : covers::read(store, CoverTable::Term, f)) into.insert(std::move(c.substitute));
}

// What the term's swaps make of the slot: the teachers they put in a class then are busy, and
// those whose lesson they give away are free, unless absent that day.
void applySwaps(Store& store, std::string_view weekText, int day, int period,
                std::unordered_set<std::string>& busy, std::vector<std::string>& names) {
    if (weekText.empty()) return;
    const auto people =
        swapping::people(store, {static_cast<int>(leadingNumber(weekText)), day, period});
    busy.insert(people.busy.begin(), people.busy.end());
    std::erase_if(names, [&](const std::string& n) { return people.busy.count(n) > 0; });
    for (const auto& n : people.freed) {
        if (busy.count(n) || std::find(names.begin(), names.end(), n) != names.end()) continue;
        CoverFilter absent;
        absent.absent = n;
        LessonFilter queued;
        queued.teacher = n;
        queued.weekday = day;
        if (covers::any(store, CoverTable::Today, absent) || !queue::read(store, queued).empty())
            continue;
        names.push_back(n);
    }
}

}  // namespace

std::vector<std::string> eligibleTeachers(Store& store, std::string_view weekdayText, int period,
                                          std::string_view weekText) {
    return store.transaction([&] {
        std::vector<std::string> names;
        // A weekday or period outside the week (a weekend day chosen by hand) has no slot:
        // nobody is free then.
        const auto day = schoolDay(weekdayText);
        if (day && week::isPeriod(period)) {
            std::unordered_set<std::string> busy;
            for (auto& n : exemptlist::names(store)) busy.insert(std::move(n));
            for (auto& b : away::inPeriod(store, period)) busy.insert(std::move(b.name));
            addCoveringInTerm(store, weekText, *day, period, busy);
            for (auto& n : freeslots::freeIn(store, *day, period))
                if (!busy.count(n)) names.push_back(std::move(n));
            applySwaps(store, weekText, *day, period, busy, names);
        }
        candidates::setEligible(store, names);
        return names;
    });
}

namespace {

// The first row of each name, as a forward search from the top would reach it.
template <class Row, class Name>
std::unordered_map<std::string, Row> firstByName(std::vector<Row> rows, Name nameOf) {
    std::unordered_map<std::string, Row> out;
    for (auto& r : rows)
        if (auto n = nameOf(r)) out.emplace(*n, std::move(r));
    return out;
}

std::unordered_map<std::string, TeacherRow> teachersByName(Store& store) {
    return firstByName(teachers::all(store), [](const TeacherRow& t) { return t.name; });
}

std::unordered_map<std::string, week::PerDay<double>> lessonsByName(Store& store) {
    std::unordered_map<std::string, week::PerDay<double>> out;
    for (auto& d : dailycounts::all(store))
        if (d.name) out.emplace(*d.name, d.lessons);
    return out;
}

// A tally row without a name counts for nobody.
std::unordered_map<std::string, Tally> talliesByName(Store& store) {
    return firstByName(tallies::all(store), [](const Tally& t) {
        return t.name.empty() ? std::nullopt : std::optional<std::string>(t.name);
    });
}

std::vector<std::string> teachingIn(Store& store, int day, int period) {
    std::vector<std::string> out;
    LessonFilter lessons;
    lessons.weekday = day;
    lessons.period = period;
    for (auto& l : timetable::read(store, lessons)) out.push_back(std::move(l.teacher));
    return out;
}

// How the day's swaps change each teacher's lessons that day, and who they put in a class or
// take out of one in the period before.
struct SwapsOfDay {
    std::unordered_map<std::string, int> lessons;
    swapping::SlotPeople before;
};

SwapsOfDay swapsOfDay(Store& store, std::string_view weekText, int day, int period) {
    SwapsOfDay out;
    if (weekText.empty()) return out;
    const int week = static_cast<int>(leadingNumber(weekText));
    const auto swapped = swapping::onDay(store, week, day);
    for (const auto& t : swapped) {
        ++out.lessons[t.taker];
        --out.lessons[t.owner];
    }
    if (period > 1) out.before = swapping::people(swapped, period - 1);
    return out;
}

void applyBefore(const swapping::SlotPeople& before, std::unordered_set<std::string>& teaching) {
    for (const auto& n : before.freed) teaching.erase(n);
    teaching.insert(before.busy.begin(), before.busy.end());
}

// What the scores are made of.
struct Sources {
    const std::unordered_map<std::string, TeacherRow>& teachers;
    const std::unordered_map<std::string, week::PerDay<double>>& lessons;
    const std::unordered_map<std::string, Tally>& tallies;
    // Teachers in a class in the period just before: with a lesson of their own, or covering
    // one recorded today. A substitute booked for the period before is as tired as one
    // teaching it.
    const std::unordered_set<std::string>& teachingBefore;
    // The day's lessons a swap gives a teacher (+1 each) or takes from him (−1 each).
    const std::unordered_map<std::string, int>& swappedLessons;
};

// The rows of 临时运算表 for the eligible names, in their order.
std::vector<CandidateRow> score(const std::vector<std::string>& names, int day,
                                std::string_view cls, const Sources& from, Result& result) {
    std::vector<CandidateRow> scored;
    scored.reserve(names.size());
    for (const auto& n : names) {
        bool lacking = false;
        Affinity a;
        if (auto t = from.teachers.find(n); t != from.teachers.end())
            a = affinity(t->second, cls);
        else
            lacking = true;
        double lessons = 0, today = 0, term = 0;
        if (auto d = from.lessons.find(n); d != from.lessons.end())
            lessons = d->second[static_cast<std::size_t>(day - 1)];
        else
            lacking = true;
        if (auto s = from.swappedLessons.find(n); s != from.swappedLessons.end())
            lessons = std::max(0.0, lessons + s->second);
        if (auto c = from.tallies.find(n); c != from.tallies.end()) {
            today = c->second.today;
            term = c->second.term;
        } else {
            lacking = true;
        }
        if (lacking) result.missing.push_back(n);
        scored.push_back({n, a.letters, Value(lessons + today), Value(today),
                          from.teachingBefore.count(n) ? "是" : "否", Value(term), a.mark});
    }
    return scored;
}

// Today's substitutes in the period (none before period 1).
void addCovering(Store& store, int day, int period, std::unordered_set<std::string>& into) {
    CoverFilter covering;
    covering.weekday = day;
    covering.period = period;
    for (auto& c : covers::read(store, CoverTable::Today, covering))
        into.insert(std::move(c.substitute));
}

}  // namespace

Result rank(Store& store, std::string_view weekdayText, int period, std::string_view cls,
            std::string_view weekText) {
    return store.transaction([&] {
        Result result;
        const auto names = eligibleTeachers(store, weekdayText, period, weekText);
        std::vector<CandidateRow> scored;
        if (!names.empty()) {
            const int day = schoolDay(weekdayText).value_or(0);
            const auto teachers = teachersByName(store);
            const auto lessons = lessonsByName(store);
            const auto tallies = talliesByName(store);
            std::unordered_set<std::string> teachingBefore;
            const auto swapped = swapsOfDay(store, weekText, day, period);
            if (period > 1) {
                for (auto& n : teachingIn(store, day, period - 1))
                    teachingBefore.insert(std::move(n));
                applyBefore(swapped.before, teachingBefore);
                addCovering(store, day, period - 1, teachingBefore);
            }
            scored = score(names, day, cls,
                           {teachers, lessons, tallies, teachingBefore, swapped.lessons}, result);
        }
        candidates::replaceScores(store, scored);
        if (!scored.empty()) result.rows = rankedRows(store);
        return result;
    });
}

Ranker::Ranker(Store& store)
    : store_(store), teachers_(teachersByName(store)), lessons_(lessonsByName(store)) {
    for (auto& n : exemptlist::names(store)) exempt_.insert(std::move(n));
}

Result Ranker::rank(std::string_view weekdayText, int period, std::string_view cls,
                    std::string_view weekText) {
    Result result;
    const auto day = schoolDay(weekdayText);
    if (!day || !week::isPeriod(period)) return result;
    auto [slot, fresh] = free_.try_emplace({*day, period});
    if (fresh) slot->second = freeslots::freeIn(store_, *day, period);
    std::unordered_set<std::string> busy;
    for (auto& b : away::inPeriod(store_, period)) busy.insert(std::move(b.name));
    addCoveringInTerm(store_, weekText, *day, period, busy);
    std::vector<std::string> names;
    for (const auto& n : slot->second)
        if (!exempt_.count(n) && !busy.count(n)) names.push_back(n);
    for (const auto& n : exempt_) busy.insert(n);
    applySwaps(store_, weekText, *day, period, busy, names);
    if (names.empty()) return result;
    std::unordered_set<std::string> teachingBefore;
    const auto swapped = swapsOfDay(store_, weekText, *day, period);
    if (period > 1) {
        auto [before, read] = teaching_.try_emplace({*day, period - 1});
        if (read) before->second = teachingIn(store_, *day, period - 1);
        teachingBefore.insert(before->second.begin(), before->second.end());
        applyBefore(swapped.before, teachingBefore);
        addCovering(store_, *day, period - 1, teachingBefore);
    }
    const auto tallies = talliesByName(store_);
    result.rows = score(names, *day, cls,
                        {teachers_, lessons_, tallies, teachingBefore, swapped.lessons}, result);
    candidates::sortRanked(store_, result.rows);
    return result;
}

std::vector<Candidate> rankedRows(Store& store) {
    return candidates::ranked(store);
}

}  // namespace daike::ranking
