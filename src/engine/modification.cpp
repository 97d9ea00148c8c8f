#include "engine/modification.h"

#include <algorithm>

#include "engine/free_period_leave.h"
#include "store/store.h"
#include "store/tables/away.h"
#include "store/tables/queue.h"
#include "store/tables/tallies.h"
#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike::modification {

namespace {

void addOnce(std::vector<std::string>& list, std::string name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(std::move(name));
}

// How the operator is told which cover a note is about.
std::string describe(const CoverRow& c) {
    return c.cls + "班" + week::periodName(c.period) + c.subject + "（" + c.substitute + "代" +
           c.absent + "）";
}

// The absent teacher's lesson of the cover: of the teacher's lessons in that class and period,
// the one of the same subject that is marked covered, else the one of the same subject, else
// the first. None when the teacher has no such lesson.
std::optional<TimetableRow> lessonOf(Store& store, const CoverRow& c) {
    LessonFilter slot;
    slot.teacher = c.absent;
    slot.weekday = c.weekday;
    slot.cls = c.cls;
    slot.period = c.period;
    const auto lessons = timetable::read(store, slot);
    for (int pass = 0; pass < 3; ++pass)
        for (const auto& l : lessons) {
            const bool subject = l.subject == c.subject;
            if ((pass == 0 && subject && l.covered) || (pass == 1 && subject) || pass == 2)
                return l;
        }
    return std::nullopt;
}

CoverFilter bySubstitute(std::string_view name) {
    CoverFilter f;
    f.substitute = std::string(name);
    return f;
}

CoverFilter ofAbsent(std::string_view name) {
    CoverFilter f;
    f.absent = std::string(name);
    return f;
}

}  // namespace

Checked<Lists> prepare(Store& store) {
    if (!covers::any(store, CoverTable::Today) && !away::anyone(store))
        return Refusal{"现无代课记录，无需修改！"};

    Lists lists;
    for (auto& r : covers::bySubstitute(store, CoverTable::Today))
        addOnce(lists.substitutes, std::move(r.substitute));
    for (auto& r : covers::byAbsent(store, CoverTable::Today))
        addOnce(lists.absent, std::move(r.absent));
    std::vector<std::string> freeOnly;
    for (int p = 1; p <= week::kPeriods; ++p)
        for (auto& b : away::fromTop(store, p))
            if (b.freePeriod) addOnce(freeOnly, std::move(b.name));
    for (auto& name : freeOnly) {
        const auto listed = [&](const std::vector<std::string>& l) {
            return std::find(l.begin(), l.end(), name) != l.end();
        };
        if (!listed(lists.substitutes) && !listed(lists.absent)) lists.absent.push_back(name);
    }
    return lists;
}

int weekdayOfRecords(Store& store, int currentWeekday) {
    const auto records = covers::read(store, CoverTable::Today);
    if (records.empty()) return currentWeekday;
    const int recorded = records.front().weekday;
    if (currentWeekday > week::kDays || currentWeekday != recorded) return recorded;
    return currentWeekday;
}

std::vector<CoverRow> coversBy(Store& store, std::string_view substitute) {
    return covers::read(store, CoverTable::Today, bySubstitute(substitute));
}

std::vector<CoverRow> coversOf(Store& store, std::string_view absent) {
    return covers::read(store, CoverTable::Today, ofAbsent(absent));
}

bool givesCover(Store& store, std::string_view substitute) {
    return covers::any(store, CoverTable::Today, bySubstitute(substitute));
}

bool hasCover(Store& store, std::string_view absent) {
    return covers::any(store, CoverTable::Today, ofAbsent(absent));
}

namespace {

// "星期三第2节一(1)语文": the lesson a correction is about.
std::string lessonWords(const CoverRow& c) {
    return week::weekdayName(c.weekday) + week::periodName(c.period) + c.cls + c.subject;
}

}  // namespace

std::string withdrawQuestion(const CoverRow& c) {
    return "删除后" + c.absent + lessonWords(c) + "（" + c.substitute +
           "代）该节课将无人代课，是否删除？";
}

std::string reassignQuestion(const CoverRow& c) {
    return "重代将取消" + c.substitute + "代" + c.absent + lessonWords(c) +
           "的安排，该节课重新等待安排，是否重代？";
}

Outcome withdraw(Store& store, const CoverRow& c) {
    Outcome out;
    store.transaction([&] {
        if (!covers::removeOne(store, CoverTable::Term, c))
            out.notFound.push_back("学期代课记录中没有" + describe(c));
        covers::removeOne(store, CoverTable::Session, c);
        if (!covers::removeOne(store, CoverTable::Today, c))
            out.notFound.push_back("当天代课记录中没有" + describe(c));

        if (!away::withdraw(store, c.period, c.substitute))
            out.notFound.push_back("代课教师表第" + std::to_string(c.period) + "节中没有" +
                                   c.substitute);
        away::withdraw(store, c.period, c.absent);

        if (!tallies::takeCover(store, c.substitute))
            out.notFound.push_back("代课节数表中没有" + c.substitute + "的记录，节数未减");
        const auto lesson = lessonOf(store, c);
        if (!lesson) {
            out.notFound.push_back("任课情况中没有" + c.absent + "在" + c.cls + "班第" +
                                   std::to_string(c.period) + "节的课");
            return;
        }
        timetable::setMarks(store, lesson->row, false, false);
    });
    return out;
}

Outcome reassign(Store& store, const CoverRow& c) {
    Outcome out;
    store.transaction([&] {
        out = withdraw(store, c);
        leave::recordAway(store, c.absent, c.period, false);
        const auto lesson = lessonOf(store, c);
        if (!lesson) return;  // withdraw has said so
        timetable::setDealtWith(store, lesson->row, true);
        queue::add(store, QueuedLesson::of(*lesson));
    });
    return out;
}

void openQueuedForCover(Store& store, const std::vector<std::string>& teachers, int weekday) {
    store.transaction([&] {
        for (const auto& name : teachers) {
            LessonFilter day;
            day.teacher = name;
            day.weekday = weekday;
            for (const auto& l : timetable::read(store, day)) {
                if (l.dealtWith && l.covered) continue;
                timetable::setDealtWith(store, l.row, !l.dealtWith);
            }
        }
    });
}

}  // namespace daike::modification
