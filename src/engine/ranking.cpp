#include "engine/ranking.h"

#include <unordered_map>
#include <unordered_set>

#include "basedata/class_list.h"
#include "store/store.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/daily_counts.h"
#include "store/tables/exempt_list.h"
#include "store/tables/free_slots.h"
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

}  // namespace

std::vector<std::string> eligibleTeachers(Store& store, std::string_view weekdayText, int period) {
    return store.transaction([&] {
        std::vector<std::string> names;
        // A weekday or period outside the week (a weekend day chosen by hand) has no slot:
        // nobody is free then.
        const auto day = schoolDay(weekdayText);
        if (day && week::isPeriod(period)) {
            std::unordered_set<std::string> busy;
            for (auto& n : exemptlist::names(store)) busy.insert(std::move(n));
            for (auto& b : away::inPeriod(store, period)) busy.insert(std::move(b.name));
            for (auto& n : freeslots::freeIn(store, *day, period))
                if (!busy.count(n)) names.push_back(std::move(n));
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

}  // namespace

Result rank(Store& store, std::string_view weekdayText, int period, std::string_view cls) {
    return store.transaction([&] {
        Result result;
        const auto names = eligibleTeachers(store, weekdayText, period);
        std::vector<CandidateRow> scored;
        if (!names.empty()) {
            const int day = schoolDay(weekdayText).value_or(0);
            const auto teachers =
                firstByName(teachers::all(store), [](const TeacherRow& t) { return t.name; });
            const auto daily =
                firstByName(dailycounts::all(store), [](const DailyCount& d) { return d.name; });
            // A tally row without a name counts for nobody.
            const auto tallies = firstByName(tallies::all(store), [](const Tally& t) {
                return t.name.empty() ? std::nullopt : std::optional<std::string>(t.name);
            });
            // Teachers in a class in the period just before (none before period 1): with a
            // lesson of their own, or covering one recorded today. A substitute booked for the
            // period before is as tired as one teaching it.
            std::unordered_set<std::string> teachingBefore;
            if (period > 1) {
                LessonFilter before;
                before.weekday = day;
                before.period = period - 1;
                for (auto& l : timetable::read(store, before))
                    teachingBefore.insert(std::move(l.teacher));
                CoverFilter covering;
                covering.weekday = day;
                covering.period = period - 1;
                for (auto& c : covers::read(store, CoverTable::Today, covering))
                    teachingBefore.insert(std::move(c.substitute));
            }

            for (const auto& n : names) {
                bool lacking = false;
                Affinity a;
                if (auto t = teachers.find(n); t != teachers.end())
                    a = affinity(t->second, cls);
                else
                    lacking = true;
                double lessons = 0, today = 0, term = 0;
                if (auto d = daily.find(n); d != daily.end())
                    lessons = d->second.lessons[static_cast<std::size_t>(day - 1)];
                else
                    lacking = true;
                if (auto c = tallies.find(n); c != tallies.end()) {
                    today = c->second.today;
                    term = c->second.term;
                } else {
                    lacking = true;
                }
                if (lacking) result.missing.push_back(n);
                scored.push_back({n, a.letters, Value(lessons + today), Value(today),
                                  teachingBefore.count(n) ? "是" : "否", Value(term), a.mark});
            }
        }
        candidates::replaceScores(store, scored);
        if (!scored.empty()) result.rows = rankedRows(store);
        return result;
    });
}

std::vector<Candidate> rankedRows(Store& store) {
    return candidates::ranked(store);
}

}  // namespace daike::ranking
