// 任课情况: the week's timetable, one row per lesson, with the day's two marks. 标记 = 1: the
// lesson is dealt with today (covered, or held back from cover); 已代标记 = 1: covered today,
// always together with 标记. A mark not set is Null, never 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/week.h"

namespace daike {

class Store;

struct TimetableRow {
    std::int64_t row = 0;  // where the lesson is stored; 0 for one not stored yet
    std::string teacher;   // 姓名
    int weekday = 0;       // 星期
    std::string cls;       // 班级
    int period = 0;        // 节次
    std::string subject;   // 课目
    bool dealtWith = false;
    bool covered = false;
    // Weekday and period are stored as whole numbers within the week; lessons typed into the
    // file by other means may not be.
    bool onGrid = true;
};

// Which lessons to read; an unset field matches every lesson.
struct LessonFilter {
    std::optional<std::string> teacher;
    std::optional<int> weekday;
    std::optional<std::string> cls;
    std::optional<int> period;
    std::optional<std::string> subject;

    // Exactly this lesson: its teacher, weekday, class, period and subject.
    static LessonFilter of(const TimetableRow& l) {
        return {l.teacher, l.weekday, l.cls, l.period, l.subject};
    }
};

namespace timetable {

// The lessons that match, in table order.
std::vector<TimetableRow> read(Store& store, const LessonFilter& filter = {});
// The same ordered by period (ties in table order): a teacher's day as the windows list it.
std::vector<TimetableRow> byPeriod(Store& store, const LessonFilter& filter);
bool any(Store& store, const LessonFilter& filter);
// The lessons marked dealt with but not covered: held back from cover.
std::vector<TimetableRow> heldBack(Store& store);
// The lessons with either of today's marks, in table order.
std::vector<TimetableRow> marked(Store& store);

// Each teacher's number of lessons per weekday (index weekday - 1). A lesson counts when it has
// a name and its weekday is stored as a whole number from 1 to 5; a weekday typed in as text or
// as a fraction counts nowhere. The period is not looked at.
std::unordered_map<std::string, week::PerDay<std::int64_t>> lessonsPerWeekday(Store& store);

// Appends a lesson without marks; returns its row.
std::int64_t add(Store& store, const TimetableRow& lesson);
// Replaces the whole timetable with these lessons, marks as given.
void replaceAll(Store& store, const std::vector<TimetableRow>& lessons);
void remove(Store& store, std::int64_t row);

void setMarks(Store& store, std::int64_t row, bool dealtWith, bool covered);
void setDealtWith(Store& store, std::int64_t row, bool dealtWith);
// Leaving the assignment screen: every lesson held back goes back to open.
void releaseHeldBack(Store& store);
// A new day: no lesson keeps a mark.
void clearMarks(Store& store);

}  // namespace timetable
}  // namespace daike
