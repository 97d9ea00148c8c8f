// 一键安排: a substitute for every open lesson of the day in one step. Lessons are taken in
// period order, then in the order they were queued; each gets the first teacher of the ranking
// as it would stand once the lessons before it were covered, which is exactly what the office
// gets by always taking row 1 and confirming, one lesson at a time. The operator may change a
// row to another candidate of that lesson or leave it open before confirming.
//
// Under 短假优先调课 (调课设置, while the day's week is known) a lesson a colleague of the class
// can swap for is proposed as that swap instead: the first of swapping::candidates(), which the
// later rows then see (the colleague busy in the slot). The operator may change such a row to a
// cover or leave it open all the same. A swap is no cover: confirming records it through
// swapping::record, without a 代课记录 row or a tally.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cover_load.h"
#include "engine/ranking.h"
#include "engine/swaps.h"

namespace daike {

class Store;

namespace dayplan {

// One lesson still needing cover.
struct OpenLesson {
    std::string absent;   // the absent teacher
    int period = 0;       // 节次
    std::string cls;      // 班级
    std::string subject;  // 课目
};

// One-teacher mode: the teacher's lessons of the weekday not yet dealt with, by period.
std::vector<OpenLesson> teacherLessons(Store& store, std::string_view teacher,
                                       std::string_view weekdayText,
                                       std::string_view weekText = {});

// Several-teachers mode: the lessons of the weekday queued in 需代课目情况, by period, then in
// the order they were queued.
std::vector<OpenLesson> queuedLessons(Store& store, std::string_view weekdayText);

// The absent teachers of the day whose lessons still wait: each teacher queued for the weekday
// once, in the order first queued, while a lesson of his is not dealt with. The several-teachers
// list of the assignment screen is this, whichever window queued them and whenever.
std::vector<std::string> waitingTeachers(Store& store, std::string_view weekdayText);

// What the operator asked for one row.
struct Pick {
    enum class Kind { First, Teacher, Open, Swap };
    // First: the first swap (under 短假优先调课) or else the first candidate as the ranking
    // then stands.
    Kind kind = Kind::First;
    std::string teacher;             // for Kind::Teacher the substitute, Kind::Swap the colleague
    std::optional<Slot> returnSlot;  // for Kind::Swap: the colleague's lesson taken in return
    static Pick first() { return {}; }
    static Pick open() { return {Kind::Open, {}, {}}; }
    static Pick of(std::string name) { return {Kind::Teacher, std::move(name), {}}; }
    static Pick swapWith(std::string colleague, const Slot& returnSlot) {
        return {Kind::Swap, std::move(colleague), returnSlot};
    }
};

// One row of the proposal.
struct Row {
    OpenLesson lesson;
    // The lesson's candidates, ranked as they stand once the rows before it are confirmed;
    // teachers absent today (those of the lessons, and those covered earlier today) are left
    // out even when free in the period.
    std::vector<ranking::Candidate> candidates;
    // Each candidate's day, week and term as the row stands, and the limit he reached under
    // 代课规则; in the order of `candidates` (those at a limit last).
    std::vector<coverload::Standing> standings;
    int chosen = -1;  // index into candidates; -1: no cover (the lesson is swapped or open)
    // Under 短假优先调课 with the week known: the swaps open for the lesson as the row stands,
    // in the order swapping::candidates() gives them; empty otherwise.
    std::vector<swapping::Candidate> swaps;
    int swapChosen = -1;  // index into swaps: the lesson is swapped, not covered
    // The operator's teacher could no longer take this lesson (an earlier row now gives him
    // a lesson in the same period), or his swap is no longer open: the row fell back to its
    // first choice.
    bool pickLost = false;
    // Why the chosen teacher, in the office's words ("本班班主任", "任本班数学", "本日课最少",
    // "本学期代课最少", "上一节有课"); a swap says "调课" first.
    std::vector<std::string> why;

    const ranking::Candidate* substitute() const {
        return chosen < 0 ? nullptr : &candidates[static_cast<std::size_t>(chosen)];
    }
    const coverload::Standing* standing() const {
        return chosen < 0 ? nullptr : &standings[static_cast<std::size_t>(chosen)];
    }
    const swapping::Candidate* swap() const {
        return swapChosen < 0 ? nullptr : &swaps[static_cast<std::size_t>(swapChosen)];
    }
    // Covered or swapped: the lesson no longer waits once confirmed.
    bool placed() const { return chosen >= 0 || swapChosen >= 0; }
};

// What the records need beyond the lessons.
struct Day {
    std::string week;         // 周次, as the assignment screen's week box shows it
    std::string weekdayText;  // "1" to "5"
    std::map<std::string, std::string> reasons;  // 性质 per absent teacher
    bool severalTeachers = false;
};

// The proposal for the lessons, given the operator's picks (one per lesson, missing ones are
// Pick::first()). Nothing is written: the covers are recorded to rank the later rows and then
// taken back. Under 代课规则 a row's first choice is the first candidate who reached no limit
// (and, when the school says so, is not then in two lessons in a row); with 均衡安排 the
// candidates of each affinity class come fewer covers today first, then this week. The week's
// cover is counted from the records of the day's 周次.
std::vector<Row> propose(Store& store, const Day& day, const std::vector<OpenLesson>& lessons,
                         const std::vector<Pick>& picks = {});
// The same for a day whose week is not known.
std::vector<Row> propose(Store& store, std::string_view weekdayText,
                         const std::vector<OpenLesson>& lessons,
                         const std::vector<Pick>& picks = {}, bool severalTeachers = false);

// The reasons in the office's words for the candidate at index i of a ranked list.
std::vector<std::string> reasonsFor(const std::vector<ranking::Candidate>& ranked, std::size_t i);

// The rows as they were chosen, in one transaction: each lesson with a substitute is recorded
// exactly as the manual confirmation records it (ranking first, then the cover), each swapped
// lesson through swapping::record with the absent teacher's reason; rows left open stay
// queued. If any chosen teacher can no longer take his lesson or a swap is no longer open (the
// tables changed since the proposal), nothing is written and a Failure says so. Returns the
// covers recorded (the swaps are the rows with swap()). `now` is the office's clock
// ("2026-12-09 08:15:00"), the swaps' 记录时间.
int confirm(Store& store, const Day& day, const std::vector<Row>& rows,
            const std::string& now = {});

}  // namespace dayplan
}  // namespace daike
