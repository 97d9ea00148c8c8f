// Today's board (当日代课安排): the day's cover by period for the staff room, the lessons still
// waiting for a substitute, the absent teachers with their reasons and the teachers away in
// free periods. The main window shows it and the day's cover sheet prints it.
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
    std::vector<Line> lines;     // by period, then class; covered and waiting lessons together
    std::vector<Absent> absent;  // in the order they first appear on the lines
    std::vector<Away> away;  // in the order of 代课教师; absent teachers are not repeated here
    int otherDays = 0;       // records of 当天代课记录 that belong to another day (not shown)
    // Covers the substitutes were told of and that are no longer recorded, by substitute: the
    // substitute must be told he is no longer needed.
    std::vector<Line> withdrawn;
    PeriodTimes times;       // 作息时间: a line's period is written times.label(period)
    int covered() const;
    int waiting() const;
};

// The board of a teaching day (week, weekday 1 to 5) from 当天代课记录, 需代课目情况 and
// 代课教师, with the periods' clock times of 作息时间 and the changes since the substitutes
// were told (已通知代课).
Board load(Store& store, int week, int weekday);

// Whether a record of 当天代课记录 is of that teaching day (week, weekday); the records of a
// day not yet cleared by "新的一天" are not.
bool onDay(const CoverRecord& r, int week, int weekday);

// A list of periods as the board writes it: "第1、2、4节".
std::string periodList(const std::vector<int>& periods);

}  // namespace board
}  // namespace daike
