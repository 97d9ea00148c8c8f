// The cover records: 临时代课记录 (what the assignment screen recorded since it opened),
// 代课记录 (the term) and 当天代课记录 (today). The three tables share one layout, eight
// columns in stored order; one confirmed cover is one row in each. 已通知代课 has the same
// layout: today's cover as it stood when the substitutes were last told (a text copied for
// the teachers' group, slips printed).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/tables/timetable.h"

namespace daike {

class Store;

enum class CoverTable {
    Session,  // 临时代课记录
    Term,     // 代课记录
    Today,    // 当天代课记录
    Told,     // 已通知代课: today's cover as the substitutes were last told of it
};

struct CoverRecord {
    std::string absent;      // 被代
    std::string reason;      // 性质
    std::string substitute;  // 代者
    std::string week;        // 周次, as shown on the assignment screen when recorded
    int weekday = 0;         // 星期 1-5
    std::string cls;         // 班级
    std::string subject;     // 课目
    int period = 0;          // 节次 1-6

    bool operator==(const CoverRecord&) const = default;
};

// Which records to read; an unset field matches every record.
struct CoverFilter {
    std::optional<std::string> absent;
    std::optional<std::string> substitute;
    std::optional<int> weekday;
    std::optional<std::string> cls;
    std::optional<int> period;
    std::optional<std::string> subject;
    std::optional<std::string> week;  // 周次 as stored

    // The covers of this lesson: its teacher as the absent one, its weekday, class, period and
    // subject.
    static CoverFilter of(const TimetableRow& lesson) {
        return {lesson.teacher, std::nullopt,   lesson.weekday, lesson.cls,
                lesson.period,  lesson.subject, std::nullopt};
    }
};

// The lesson a record stands for: its absent teacher, weekday, class, period and subject.
inline LessonFilter lessonOf(const CoverRecord& r) {
    LessonFilter l;
    l.teacher = r.absent;
    l.weekday = r.weekday;
    l.cls = r.cls;
    l.period = r.period;
    l.subject = r.subject;
    return l;
}

namespace covers {

// The records that match, in table order.
std::vector<CoverRecord> read(Store& store, CoverTable table, const CoverFilter& filter = {});
bool any(Store& store, CoverTable table, const CoverFilter& filter = {});
// The records ordered by substitute (the notices and the viewer), by absent teacher, or by
// substitute for the distinct lists of the modification window; ties keep table order.
std::vector<CoverRecord> bySubstitute(Store& store, CoverTable table);
std::vector<CoverRecord> byAbsent(Store& store, CoverTable table);

void append(Store& store, CoverTable table, const CoverRecord& record);
// One confirmed cover: a row in 临时代课记录, 代课记录 and 当天代课记录, in that order.
void appendEverywhere(Store& store, const CoverRecord& record);
// Removes exactly one record of this cover, the first in table order with its week, weekday,
// class, period, absent teacher, substitute and subject (the reason is not compared). False
// when the table has none.
bool removeOne(Store& store, CoverTable table, const CoverRecord& record);
// Gives the first record of this cover (compared as removeOne compares, the reason too) the
// new reason. False when the table has none.
bool changeReason(Store& store, CoverTable table, const CoverRecord& record,
                  const std::string& reason);
void clear(Store& store, CoverTable table);
// Empties the table and writes these records in their order, in one transaction.
void replace(Store& store, CoverTable table, const std::vector<CoverRecord>& records);

}  // namespace covers
}  // namespace daike
