// Today's board (当日代课安排): the day's cover by period for the staff room, the lessons still
// waiting for a substitute, the day's swapped lessons (调课, in both their slots), the absent
// teachers with their reasons and the teachers away in free periods. The main window shows it and
// the day's cover sheet prints it.
#pragma once

#include <string>
#include <vector>

#include "school/period_times.h"
#include "store/tables/covers.h"

namespace daike {

class Store;

namespace board {

struct Line {
    int period = 0;
    std::string cls;
    std::string subject;
    std::string absent;
    std::string reason;      // empty while the lesson waits in the queue
    std::string substitute;  // empty while the lesson waits in the queue
    bool waiting = false;    // queued in 需代课目情况, no substitute yet
    // Recorded after the substitutes were told (a text copied, slips printed): they must be
    // told again ("已变更，需再通知").
    bool changed = false;
    // A lesson the day's swaps give to another teacher (调课): `absent` is whose lesson it is by
    // the timetable, `substitute` who teaches it, `reason` the first teacher's absence (none in
    // the return slot and for a swap agreed between the two). Neither waiting nor a cover.
    bool swapped = false;
    std::string swapText;  // swapping::boardText: "一(1) 第3节 李老师（与张老师调课）"
};

struct Absent {
    std::string name;
    std::string reason;  // the reasons recorded for the teacher, joined by "、"; empty: none yet
};

struct Away {
    std::string name;
    std::vector<int> periods;  // free periods in which the teacher is away, ascending
};

struct Board {
    int week = 0;
    int weekday = 0;
    // By period, then class; covered, waiting and swapped lessons together.
    std::vector<Line> lines;
    // In the order they first appear on the lines; a teacher whose lesson was swapped for an
    // absence is absent, the colleague who gave up a lesson in return is not.
    std::vector<Absent> absent;
    std::vector<Away> away;  // in the order of 代课教师; absent teachers are not repeated here
    int otherDays = 0;       // records of 当天代课记录 that belong to another day (not shown)
    // Covers the substitutes were told of and that are no longer recorded, by substitute: the
    // substitute must be told he is no longer needed.
    std::vector<Line> withdrawn;
    PeriodTimes times;    // 作息时间: a line's period is written times.label(period)
    int covered() const;  // lessons with a substitute (swaps apart)
    int waiting() const;
    int swapped() const;
};

// The day's counts as the board's heading says them: "代课3节，待安排1节", with "，调课2节" when
// the day has swapped lessons.
std::string countsText(const Board& b);
// What the substitute's cell shows: the substitute, "待安排", or "调：李老师" for a swap.
std::string takerText(const Line& l);

// The board of a teaching day (week, weekday 1 to 5) from 当天代课记录, 需代课目情况, the
// swaps of the term with a slot on the day (调课记录) and 代课教师, with the periods' clock times
// of 作息时间 and the changes since the substitutes were told (已通知代课).
Board load(Store& store, int week, int weekday);

// Whether a record of 当天代课记录 is of that teaching day (week, weekday); the records of a
// day not yet cleared by "新的一天" are not.
bool onDay(const CoverRecord& r, int week, int weekday);

// A list of periods as the board writes it: "第1、2、4节".
std::string periodList(const std::vector<int>& periods);

}  // namespace board
}  // namespace daike
