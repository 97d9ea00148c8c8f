#include "engine/lookup.h"

#include "store/schema.h"
#include "store/store.h"
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
bool markedCovered(const Value& mark) {
    return mark == Value(1);
}
}  // namespace

InClass whoIsInClass(Store& store, int weekday, std::string_view cls, int period) {
    InClass out;
    auto lesson = store.dkb("select * from 任课情况 where 星期=? and 班级=? and 节次=?",
                            {Value(weekday), Value(cls), Value(period)});
    if (lesson.empty()) return out;
    lesson.moveFirst();
    out.teacher = lesson["姓名"].text();
    out.subject = lesson["课目"].text();
    out.kind = InClass::Kind::Lesson;
    if (!markedCovered(lesson["已代标记"])) return out;
    auto cover = store.dkb("select * from 当天代课记录 where 星期=? and 班级=? and 节次=?",
                           {Value(weekday), Value(cls), Value(period)});
    if (cover.empty()) {
        out.kind = InClass::Kind::RecordMissing;
        return out;
    }
    cover.moveFirst();
    out.teacher = cover["代者"].text();
    out.subject = cover["课目"].text();
    out.kind = InClass::Kind::Covered;
    return out;
}

TeacherWhere whereIsTeacher(Store& store, int weekday, std::string_view name, int period,
                            int coverDay) {
    TeacherWhere out;
    auto lesson = store.dkb("select * from 任课情况 where 星期=? and 姓名=? and 节次=?",
                            {Value(weekday), Value(name), Value(period)});
    if (!lesson.empty()) {
        lesson.moveFirst();
        if (markedCovered(lesson["已代标记"])) {
            out.status = "已公出";
        } else {
            out.place = lesson["班级"].text();
            out.status = lesson["课目"].text() + "课";
        }
        return out;
    }
    // A free period. Covering a lesson then also puts the teacher into 代课教师, which would
    // read as away: the cover record says where the teacher really is.
    auto cover = store.dkb("select * from 当天代课记录 where 星期=? and 代者=? and 节次=?",
                           {Value(weekday), Value(name), Value(period)});
    if (!cover.empty()) {
        cover.moveFirst();
        out.place = cover["班级"].text();
        out.status = "代" + cover["课目"].text() + "课";
        return out;
    }
    out.status = "在办公";
    if (weekday != coverDay) return out;
    auto away = store.dkb("select * from 代课教师");
    const int col = away.fieldIndex(schema::periodColumn(period));
    for (away.moveFirst(); !away.eof() && !away[col].isBlank(); away.moveNext()) {
        if (away[col].text() == name) {
            out.status = "已公出";
            break;
        }
    }
    return out;
}

}  // namespace daike::lookup
