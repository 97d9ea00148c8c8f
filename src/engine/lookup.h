// The office's two everyday questions about one lesson slot of the week: who is in a class, and
// where a teacher is. Both take today's cover (当天代课记录, the lesson's 已代标记) and the
// teachers recorded as away (代课教师) into account.
#pragma once

#include <string>
#include <string_view>

#include "store/refusal.h"

namespace daike {

class Store;

namespace lookup {

// A weekday the look-ups can answer for: 1 (Monday) to 5 (Friday).
bool validWeekday(int weekday);

// The weekday buttons of the search windows: after 5 comes 1, before 1 comes 5; a weekend day
// shown at the start goes to 1 forward and to 5 back.
int nextWeekday(int weekday);
int previousWeekday(int weekday);

struct InClass {
    enum class Kind {
        Lesson,         // the timetabled teacher teaches it
        Covered,        // covered today: the substitute and the subject of the cover record
        RecordMissing,  // marked covered, but today's records hold no cover: the timetabled
                        // teacher is shown
        NoLesson,       // the class has no lesson then
    } kind = Kind::NoLesson;
    std::string teacher;
    std::string subject;
};

// Who is in a class in a period (1 to 6) of a weekday (1 to 5). Refused while no class is
// chosen (an empty name) or the weekday is not one of the five.
Checked<InClass> whoIsInClass(Store& store, int weekday, std::string_view cls, int period);

struct TeacherWhere {
    std::string place;   // the class, when the teacher is in one
    std::string status;  // the subject followed by "课", "已公出", or "在办公"
};

// Where a teacher is in a period (1 to 6) of a weekday (1 to 5), the teacher being the one the
// name typed or picked stands for (names::match): in the class of the lesson;
// "已公出" when that lesson was covered today or, in a free period, when the teacher is among
// the period's teachers of 代课教师 (up to its first empty cell); "在办公" otherwise. A teacher
// who covers a lesson in a free period today is in that class, with "代" before the subject.
// 代课教师 holds the day being covered (`coverDay`, see `bookedDay`) only: asked about
// another weekday, nobody is away in a free period. Refused while no teacher is named or the
// weekday is not one of the five; a name no teacher has is refused first, naming the teachers
// it was probably meant for (names::knownTeacher).
// The day the bookings of 代课教师 belong to: the day of today's cover records when there are
// any (at the weekend or on the next morning they are still that day's), else the run's
// weekday.
int bookedDay(Store& store, int runWeekday);

Checked<TeacherWhere> whereIsTeacher(Store& store, int weekday, std::string_view name, int period,
                                     int coverDay);

}  // namespace lookup
}  // namespace daike
