// 需代课目情况: the lessons of absent teachers waiting for cover, each a copy of the teacher's
// timetable row. A row goes when its lesson is covered.
#pragma once

#include <string>
#include <vector>

#include "store/tables/timetable.h"

namespace daike {

struct QueuedLesson {
    std::string teacher;  // the absent teacher
    int weekday = 0;
    std::string cls;
    int period = 0;
    std::string subject;

    bool operator==(const QueuedLesson&) const = default;
    static QueuedLesson of(const TimetableRow& l) {
        return {l.teacher, l.weekday, l.cls, l.period, l.subject};
    }
};

namespace queue {

// The queued lessons that match (the filter's teacher is the absent teacher), in table order.
std::vector<QueuedLesson> read(Store& store, const LessonFilter& filter = {});
void add(Store& store, const QueuedLesson& lesson);
// Removes the first row of exactly this lesson; false when none is queued.
bool removeOne(Store& store, const QueuedLesson& lesson);
void clear(Store& store);

}  // namespace queue
}  // namespace daike
