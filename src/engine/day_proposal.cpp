#include "engine/day_proposal.h"

#include <algorithm>
#include <set>

#include "engine/assignment.h"
#include "school/cover_rules.h"
#include "store/store.h"
#include "store/tables/covers.h"
#include "store/tables/queue.h"
#include "store/week.h"

namespace daike::dayplan {

namespace {

int weekdayOf(std::string_view weekdayText) {
    return static_cast<int>(leadingNumber(weekdayText));
}

const char* subjectName(std::string_view letter) {
    if (letter == "语") return "语文";
    if (letter == "数") return "数学";
    if (letter == "英") return "英语";
    if (letter == "科") return "科学";
    return nullptr;
}

// Where a pick lands in a ranked list: the index of the teacher, or -1.
int indexOf(const std::vector<ranking::Candidate>& ranked, std::string_view name) {
    for (std::size_t i = 0; i < ranked.size(); ++i)
        if (ranked[i].name == name) return static_cast<int>(i);
    return -1;
}

// The teachers absent today: those whose lessons are being covered now and those covered
// earlier today. The office never sends one of them to cover, even in a free period the
// absence entry did not tick.
std::set<std::string> absentToday(Store& store, std::string_view weekdayText,
                                  const std::vector<OpenLesson>& lessons) {
    std::set<std::string> absent;
    for (const auto& l : lessons) absent.insert(l.absent);
    CoverFilter day;
    day.weekday = weekdayOf(weekdayText);
    for (auto& r : covers::read(store, CoverTable::Today, day)) absent.insert(std::move(r.absent));
    return absent;
}

// The day the proposal is for as the swaps know it: its week from the 周次, when there is one.
SchoolDay schoolDayOf(const Day& day) {
    const int number = static_cast<int>(leadingNumber(day.week));
    return SchoolDay{number, number > 0, weekdayOf(day.weekdayText)};
}

int swapIndexOf(const std::vector<swapping::Candidate>& swaps, const Pick& pick) {
    for (std::size_t i = 0; i < swaps.size(); ++i)
        if (swaps[i].colleague == pick.teacher && pick.returnSlot &&
            swaps[i].slot == *pick.returnSlot)
            return static_cast<int>(i);
    return -1;
}

// The subject letters of an affinity ("班语数") in the office's words.
void affinityReasons(std::string_view letters, std::vector<std::string>& why) {
    const std::string_view head = "班";
    if (letters.substr(0, head.size()) == head) {
        why.push_back("本班班主任");
        letters.remove_prefix(head.size());
    }
    // The subject letters are one Chinese character (three bytes) each.
    for (std::size_t k = 0; k + 3 <= letters.size(); k += 3)
        if (const char* s = subjectName(letters.substr(k, 3)))
            why.push_back(std::string("任本班") + s);
}

std::vector<std::string> swapReasons(const swapping::Candidate& swap) {
    std::vector<std::string> why{"调课"};
    affinityReasons(swap.affinity, why);
    why.push_back("不计代课");
    return why;
}

// The lessons one after another, as the office would cover them by hand: rank, take the pick,
// record. With `strict` (the records are written), a teacher picked who is no longer a
// candidate, or a swap no longer open, stops everything.
std::vector<Row> walk(Store& store, const Day& day, const std::vector<OpenLesson>& lessons,
                      const std::vector<Pick>& picks, bool strict, const std::string& now = {}) {
    const std::string_view weekdayText = day.weekdayText;
    std::vector<Row> rows;
    rows.reserve(lessons.size());
    const auto absent = absentToday(store, weekdayText, lessons);
    const auto rules = rules::load(store);
    const auto swapSettings = rules::swapSettings(store);
    const SchoolDay schoolDay = schoolDayOf(day);
    const bool swapsFirst = swapSettings.preferSwaps && schoolDay.weekKnown;
    const std::string changed = std::string("代课情况已有变化，请重新一键安排。本次没有记入任何") +
                                (swapsFirst ? "代课或调课。" : "代课。");
    auto loads = coverload::DayLoads::read(store, day.week, weekdayOf(weekdayText));
    ranking::Ranker ranker(store);
    for (std::size_t i = 0; i < lessons.size(); ++i) {
        Row row;
        row.lesson = lessons[i];
        const swapping::LessonAt lessonAt{row.lesson.absent, row.lesson.cls, row.lesson.subject,
                                          swapping::slotOf(schoolDay, row.lesson.period)};
        for (auto& c : ranker.rank(weekdayText, row.lesson.period, row.lesson.cls, day.week).rows)
            if (!absent.count(c.name)) row.candidates.push_back(std::move(c));
        row.standings = coverload::arrange(row.candidates, loads, rules, rules.balanced);
        if (swapsFirst) {
            row.swaps = swapping::candidates(store, lessonAt, schoolDay, swapSettings.days, true);
            std::erase_if(row.swaps, [&](const swapping::Candidate& c) {
                return absent.count(c.colleague) > 0;
            });
        }
        auto takeFirst = [&] {
            if (!row.swaps.empty())
                row.swapChosen = 0;
            else
                row.chosen = coverload::firstAllowed(row.standings, rules, row.lesson.period);
        };
        const Pick pick = i < picks.size() ? picks[i] : Pick::first();
        switch (pick.kind) {
            case Pick::Kind::Open:
                break;
            case Pick::Kind::First:
                takeFirst();
                break;
            case Pick::Kind::Teacher:
                row.chosen = indexOf(row.candidates, pick.teacher);
                if (row.chosen < 0) {
                    if (strict)
                        throw Failure(Failure::Kind::Usage,
                                      "“" + pick.teacher + "”老师已不能代" +
                                          week::periodName(row.lesson.period) + row.lesson.cls +
                                          "的" + row.lesson.subject + "课，" + changed);
                    row.pickLost = true;
                    takeFirst();
                }
                break;
            case Pick::Kind::Swap:
                row.swapChosen = swapIndexOf(row.swaps, pick);
                if (row.swapChosen < 0) {
                    if (strict)
                        throw Failure(Failure::Kind::Usage,
                                      "“" + pick.teacher + "”老师已不能与“" + row.lesson.absent +
                                          "”老师调" + week::periodName(row.lesson.period) +
                                          row.lesson.cls + "的" + row.lesson.subject + "课，" +
                                          changed);
                    row.pickLost = true;
                    takeFirst();
                }
                break;
        }
        if (const auto* swap = row.swap()) {
            row.why = swapReasons(*swap);
            const auto r = day.reasons.find(row.lesson.absent);
            const bool known = r != day.reasons.end() && !r->second.empty();
            if (strict && !known)
                throw Failure(Failure::Kind::Usage, "请先选定“" + row.lesson.absent +
                                                        "”老师的代课事由。本次没有记入任何代课。");
            // While proposing, a swap stands for an absence all the same: the later rows
            // must not see the absent teacher as freed by it.
            const auto recorded =
                swapping::record(store, lessonAt, swap->colleague, *swap,
                                 known ? r->second : std::string("请假"), schoolDay, now);
            if (!recorded) {
                if (strict)
                    throw Failure(Failure::Kind::Usage, recorded.refusal().message + changed);
                // Not open after all (swapping::candidates and record disagree): a cover.
                row.swapChosen = -1;
                row.why.clear();
                row.chosen = coverload::firstAllowed(row.standings, rules, row.lesson.period);
            }
        }
        if (const auto* sub = row.substitute()) {
            row.why = reasonsFor(row.candidates, static_cast<std::size_t>(row.chosen));
            // Under 均衡安排: none of his kind (head teacher, main subject, others) has covered
            // less today.
            if (rules.balanced) {
                const auto& mine = *row.standing();
                bool fewest = true;
                for (std::size_t j = 0; j < row.candidates.size(); ++j)
                    fewest = fewest && (row.candidates[j].classMark != sub->classMark ||
                                        row.standings[j].load.today >= mine.load.today);
                if (fewest) row.why.push_back("同类中本日代课最少");
            }
            assignment::Cover c;
            c.absent = row.lesson.absent;
            c.substitute = sub->name;
            c.weekdayText = std::string(weekdayText);
            c.cls = row.lesson.cls;
            c.subject = row.lesson.subject;
            c.period = row.lesson.period;
            if (strict) {
                c.week = day.week;
                auto r = day.reasons.find(row.lesson.absent);
                if (r == day.reasons.end() || r->second.empty())
                    throw Failure(Failure::Kind::Usage,
                                  "请先选定“" + row.lesson.absent +
                                      "”老师的代课事由。本次没有记入任何代课。");
                c.reason = r->second;
            }
            assignment::recordCover(store, c, day.severalTeachers);
            loads.addCover(sub->name, row.lesson.period);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<OpenLesson> byPeriod(std::vector<OpenLesson> lessons) {
    std::stable_sort(lessons.begin(), lessons.end(),
                     [](const OpenLesson& a, const OpenLesson& b) { return a.period < b.period; });
    return lessons;
}

}  // namespace

std::vector<OpenLesson> teacherLessons(Store& store, std::string_view teacher,
                                       std::string_view weekdayText, std::string_view weekText) {
    std::vector<OpenLesson> out;
    for (const auto& l : assignment::loadDay(store, teacher, weekdayText, weekText))
        if (!l.dealtWith && week::isPeriod(l.period))
            out.push_back({std::string(teacher), l.period, l.cls, l.subject});
    return out;
}

std::vector<OpenLesson> queuedLessons(Store& store, std::string_view weekdayText) {
    std::vector<OpenLesson> out;
    LessonFilter day;
    day.weekday = weekdayOf(weekdayText);
    for (auto& q : queue::read(store, day))
        if (week::isPeriod(q.period))
            out.push_back({std::move(q.teacher), q.period, std::move(q.cls), std::move(q.subject)});
    return byPeriod(std::move(out));
}

std::vector<std::string> waitingTeachers(Store& store, std::string_view weekdayText) {
    std::vector<std::string> out;
    LessonFilter day;
    day.weekday = weekdayOf(weekdayText);
    for (const auto& q : queue::read(store, day)) {
        if (std::find(out.begin(), out.end(), q.teacher) != out.end()) continue;
        // This queued lesson itself still open (his other lessons may be open too, released
        // at an exit step: they do not wait).
        const auto lessons =
            timetable::read(store, LessonFilter{q.teacher, q.weekday, q.cls, q.period, q.subject});
        if (std::any_of(lessons.begin(), lessons.end(),
                        [](const TimetableRow& l) { return !l.dealtWith; }))
            out.push_back(q.teacher);
    }
    return out;
}

std::vector<Row> propose(Store& store, const Day& day, const std::vector<OpenLesson>& lessons,
                         const std::vector<Pick>& picks) {
    // Recorded for real so that every later ranking sees them, then all taken back.
    Transaction scratch(store);
    return walk(store, day, lessons, picks, false);
}

std::vector<Row> propose(Store& store, std::string_view weekdayText,
                         const std::vector<OpenLesson>& lessons, const std::vector<Pick>& picks,
                         bool severalTeachers) {
    Day day;
    day.weekdayText = std::string(weekdayText);
    day.severalTeachers = severalTeachers;
    return propose(store, day, lessons, picks);
}

std::vector<std::string> reasonsFor(const std::vector<ranking::Candidate>& ranked, std::size_t i) {
    std::vector<std::string> why;
    if (i >= ranked.size()) return why;
    const auto& c = ranked[i];
    affinityReasons(c.affinity, why);
    double fewestLessons = c.lessonsToday.toDouble(), fewestTerm = c.coversThisTerm.toDouble();
    for (const auto& o : ranked) {
        fewestLessons = std::min(fewestLessons, o.lessonsToday.toDouble());
        fewestTerm = std::min(fewestTerm, o.coversThisTerm.toDouble());
    }
    if (c.lessonsToday.toDouble() <= fewestLessons) why.push_back("本日课最少");
    if (c.coversThisTerm.toDouble() <= fewestTerm) why.push_back("本学期代课最少");
    if (c.adjacent == "是") why.push_back("上一节有课");
    if (why.empty()) why.push_back("本节空课");
    return why;
}

int confirm(Store& store, const Day& day, const std::vector<Row>& rows, const std::string& now) {
    std::vector<OpenLesson> lessons;
    std::vector<Pick> picks;
    for (const auto& r : rows) {
        lessons.push_back(r.lesson);
        if (const auto* swap = r.swap())
            picks.push_back(Pick::swapWith(swap->colleague, swap->slot));
        else
            picks.push_back(r.substitute() ? Pick::of(r.substitute()->name) : Pick::open());
    }
    return store.transaction([&] {
        const auto done = walk(store, day, lessons, picks, true, now);
        return static_cast<int>(
            std::count_if(done.begin(), done.end(), [](const Row& r) { return r.chosen >= 0; }));
    });
}

}  // namespace daike::dayplan
