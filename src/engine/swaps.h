// 调课: a colleague who teaches the same class takes the first teacher's lesson, and the first
// teacher takes one of the colleague's lessons of that class in return, now or later. Neither
// loses a lesson and nobody is paid, so a swap is no cover: no 代课记录, no tally, no pay. It
// resolves the lesson all the same (it leaves the queue and is shown as swapped), and the slots
// follow it: in the first slot the colleague teaches and the first teacher is free, in the
// return slot the other way round. The ranking, the day's proposal, the grid and the board all
// read who teaches what in a slot from here.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "school/calendar.h"
#include "school/working_day.h"
#include "store/refusal.h"
#include "store/tables/swaps.h"

namespace daike {

class Store;

namespace swapping {

// A lesson of the first teacher in a slot of the term.
struct LessonAt {
    std::string teacher;
    std::string cls;
    std::string subject;
    Slot slot;
};

// A colleague's lesson of the class the first teacher could take in return.
struct Candidate {
    std::string colleague;
    std::string subject;  // the colleague's subject in that slot
    Slot slot;            // the return slot
    std::string when;  // "12月11日第2节" (the week and weekday when the term has no first day)
    std::string affinity;  // the colleague's affinity letters with the class ("班语")
};

// The slot as the office names it: "12月11日第2节", or "第15周星期四第2节" without a first day
// of term.
std::string slotText(Store& store, const Slot& slot);
// A slot of the working day's week and weekday.
Slot slotOf(const SchoolDay& day, int period);

// The return slots open for `lesson`: every colleague B who teaches the class in another slot of
// the lesson's own day or of the next `days` school days, who is free and present in the
// lesson's slot, while the first teacher is free and present in B's (no lesson then, not
// exempt, not away, not absent, not taken by another swap or cover). When the first teacher
// is absent on the lesson's day (`absent`), his own day offers nothing. In date order, then
// period, then the colleague's name as the timetable lists him.
std::vector<Candidate> candidates(Store& store, const LessonAt& lesson, const SchoolDay& workingDay,
                                  int days, bool absent);
// The colleagues who could take the lesson now with the return left open (a one-way swap):
// teachers of the class free and present in its slot, in timetable order.
std::vector<std::string> oneWayColleagues(Store& store, const LessonAt& lesson,
                                          const SchoolDay& workingDay);

// Records a swap in one transaction, after checking again that the colleague is free, that
// the lesson is neither covered nor swapped yet and (with a return slot) that the return is
// one of candidates(). The lesson's row of 需代课目情况 goes. `returnSlot` none: one-way.
// `reason` "" for a swap the two teachers agreed without an absence.
Checked<std::int64_t> record(Store& store, const LessonAt& lesson, const std::string& colleague,
                             const std::optional<Candidate>& returnSlot, const std::string& reason,
                             const SchoolDay& workingDay, const std::string& now);
// The question before a swap is recorded: "…互换，是否确定？".
std::string question(Store& store, const LessonAt& lesson, const std::string& colleague,
                     const std::optional<Candidate>& returnSlot);

// Withdraws a swap whose first lesson has not been taught yet (the working day is not past its
// first slot's day). A swap made for an absence puts the lesson back in the queue when its
// slot is on the working day.
Checked<> withdraw(Store& store, std::int64_t id, const SchoolDay& workingDay);

// The return slots open for a one-way swap from the working day on, by the same rule.
std::vector<Candidate> returnSlots(Store& store, const SwapRecord& swap,
                                   const SchoolDay& workingDay, int days);
// 还课: fixes the return slot of a one-way swap; it must be one of returnSlots().
Checked<> payBack(Store& store, std::int64_t id, const Candidate& returnSlot,
                  const SchoolDay& workingDay, int days);

// Who the swaps put where in one slot.
struct Taken {
    std::int64_t id = 0;
    std::string cls;
    std::string owner;         // whose lesson it is by the timetable
    std::string ownerSubject;  // its subject
    std::string taker;         // who teaches it instead
    bool returnSlot = false;   // the slot is the swap's return slot (the first teacher teaches)
    int period = 0;
    std::string reason;  // the first teacher's absence, "" for a swap agreed between them
};
std::vector<Taken> inSlot(Store& store, const Slot& slot);
// Every swapped lesson of a day, by period.
std::vector<Taken> onDay(Store& store, int week, int weekday);
// The teachers a slot's swaps make busy (the takers) and free (the owners whose lesson is taken,
// unless it was taken because they are absent).
struct SlotPeople {
    std::set<std::string> busy;
    std::set<std::string> freed;
};
SlotPeople people(Store& store, const Slot& slot);
// The same from the day's swapped lessons (onDay) for one of its periods.
SlotPeople people(const std::vector<Taken>& day, int period);
// The day's line for the board: "一(1) 第3节 张老师（与李老师调课）".
std::string boardText(const Taken& taken);

// The swaps of this term (the stored first day of term), in recording order.
std::vector<SwapRecord> ofTerm(Store& store);

// 欠课表: the one-way swaps whose return is not fixed, with the days since the lesson given.
struct Owed {
    SwapRecord swap;
    std::string when;  // the first slot, as slotText names it
    int age = 0;       // days from the first slot's date to today (0 without a first day of term)
};
std::vector<Owed> owed(Store& store, calendar::Day today);

// 调课登记's list of the first teacher's lessons on a day: each lesson, and whether a swap or a
// cover has it already (then it cannot be swapped).
struct DayLesson {
    enum class State { Open, Swapped, Covered };
    LessonAt lesson;
    State state = State::Open;
    std::string by;  // who teaches it instead, when swapped or covered
};
// The lessons of the typed teacher on the typed week and weekday ("15", "3" or "星期三"), by
// period. Refused for a name not in 教师姓名, without a first day of term, or for a week or
// weekday that is no school day of the term. Earlier days are allowed: a swap may be recorded
// after the fact.
Checked<std::vector<DayLesson>> lessonsOfDay(Store& store, const std::string& teacher,
                                             const std::string& week, const std::string& weekday,
                                             const SchoolDay& workingDay);

// One line for a list of swaps: "12月9日第3节 一(1)
// 李老师代张老师上语文；张老师于12月11日第2节上李老师的数学".
std::string describe(Store& store, const SwapRecord& swap);

}  // namespace swapping
}  // namespace daike
