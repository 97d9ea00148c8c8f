#include "engine/lookup.h"

#include "engine/modification.h"
#include "school/name_search.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike::lookup {

bool validWeekday(int weekday) {
    return week::isWeekday(weekday);
}

int nextWeekday(int weekday) {
    return week::nextWeekday(weekday);
}

int previousWeekday(int weekday) {
    return week::previousWeekday(weekday);
}

namespace {
const Refusal kNoWeekday{"您所选星期不正确"};
}  // namespace

Checked<InClass> whoIsInClass(Store& store, int weekday, std::string_view cls, int period) {
    if (cls.empty()) return Refusal{"您所查班级还没有选定"};
    if (!validWeekday(weekday)) return kNoWeekday;
    InClass out;
    LessonFilter slot;
    slot.weekday = weekday;
    slot.cls = std::string(cls);
    slot.period = period;
    const auto lessons = timetable::read(store, slot);
    if (lessons.empty()) return out;
    const auto& lesson = lessons.front();
    out.teacher = lesson.teacher;
    out.subject = lesson.subject;
    out.kind = InClass::Kind::Lesson;
    if (!lesson.covered) return out;
    CoverFilter cover;
    cover.weekday = weekday;
    cover.cls = std::string(cls);
    cover.period = period;
    const auto records = covers::read(store, CoverTable::Today, cover);
    if (records.empty()) {
        out.kind = InClass::Kind::RecordMissing;
        return out;
    }
    out.teacher = records.front().substitute;
    out.subject = records.front().subject;
    out.kind = InClass::Kind::Covered;
    return out;
}

int bookedDay(Store& store, int runWeekday) {
    return modification::weekdayOfRecords(store, runWeekday);
}

Checked<TeacherWhere> whereIsTeacher(Store& store, int weekday, std::string_view given, int period,
                                     int coverDay) {
    // Blanks alone (ASCII or the full-width one) name nobody.
    if (given.find_first_not_of(" \t\xE3\x80") == std::string_view::npos)
        return Refusal{"您所查教师还没有选定"};
    // A name no teacher has would read as a teacher in the office.
    const auto known = names::knownTeacher(store, given);
    if (!known) return known.refusal();
    if (!validWeekday(weekday)) return kNoWeekday;
    const std::string& name = *known;
    TeacherWhere out;
    LessonFilter slot;
    slot.weekday = weekday;
    slot.teacher = name;
    slot.period = period;
    if (const auto lessons = timetable::read(store, slot); !lessons.empty()) {
        const auto& lesson = lessons.front();
        if (lesson.covered) {
            out.status = "已公出";
        } else {
            out.place = lesson.cls;
            out.status = lesson.subject + "课";
        }
        return out;
    }
    // A free period. Covering a lesson then also puts the teacher into 代课教师, which would
    // read as away: the cover record says where the teacher really is.
    CoverFilter cover;
    cover.weekday = weekday;
    cover.substitute = name;
    cover.period = period;
    if (const auto records = covers::read(store, CoverTable::Today, cover); !records.empty()) {
        out.place = records.front().cls;
        out.status = "代" + records.front().subject + "课";
        return out;
    }
    out.status = "在办公";
    if (weekday != coverDay) return out;
    for (const auto& b : away::fromTop(store, period))
        if (b.name == name) {
            out.status = "已公出";
            break;
        }
    return out;
}

}  // namespace daike::lookup
