// Entering several absent teachers for one day (需代教师课目输入): one teacher after another,
// the periods of the day the teacher is away, which of the teacher's lessons need cover. A
// stored teacher's chosen lessons wait in 需代课目情况 for the assignment screen, the other
// open lessons are held back from cover (标记 = 1), and the teacher is entered in 代课教师 as
// away in every chosen period, free periods with their flag.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/refusal.h"
#include "store/week.h"

namespace daike {

class Store;

namespace absence {

// The weekday box as typed: 1 to 5; anything else is refused before any query.
Checked<int> weekdayFrom(std::string_view text);

// The teacher of 教师姓名 a name typed or clicked stands for (names::knownTeacher); refused,
// naming the teachers it was probably meant for, when the name is not a teacher's.
Checked<std::string> storedTeacher(Store& store, std::string_view name);

// One lesson of the teacher in a period.
struct Lesson {
    std::string cls;
    std::string subject;
    bool covered = false;  // 标记 = 1 and 已代标记 = 1: covered today already
};

// The state of a period row, as the office's form named them.
enum class RowState {
    OpenSelected = 11,
    OpenNotSelected = 12,
    Covered = 21,
    FreeSelected = 31,
    FreeNotSelected = 32,
};

// One period of the teacher's day: the lessons in it (none for a free period; two when the
// timetable gives the teacher two classes at once) and whether the operator chose it.
struct PeriodRow {
    std::vector<Lesson> lessons;
    bool selected = false;

    bool free() const { return lessons.empty(); }
    // A row is covered when every lesson in it is; it cannot be chosen then.
    bool covered() const;
    RowState state() const;
    // "一(1)" or, for two lessons at once, "一(1)/一(2)"; likewise the subjects.
    std::string classText() const;
    std::string subjectText() const;
};

// Half-day box: nothing chosen, every choosable row chosen, or some.
enum class Half { None = 0, All = 1, Part = 2 };

// The teacher's day on the entry window: six period rows (index = period − 1). The window
// shows it; every rule of choosing rows lives here.
class DaySheet {
  public:
    DaySheet() = default;
    // The lessons of the teacher on the weekday, from 任课情况. A teacher without lessons that
    // day gets six free rows, so that free periods alone can still be entered. With the week
    // known, a lesson a swap gives to a colleague shows as covered.
    static DaySheet load(Store& store, std::string_view teacher, int weekday,
                         std::optional<int> week = std::nullopt);

    const PeriodRow& row(int r) const { return rows_[static_cast<std::size_t>(r)]; }
    bool hasLessons() const;

    // A click on either box of a row: chosen becomes not chosen and back. A covered row does
    // not change. Returns whether it changed.
    bool toggle(int r);
    // The half-day box (0 = morning, 1 = afternoon: the rows of week::isMorning and the rest).
    Half half(int h) const;
    // A click on a half-day box: with anything chosen in that half, every chosen row there is
    // cleared; otherwise every row that can be chosen is chosen. Covered rows stay as they are.
    void clickHalf(int h);
    bool anySelected() const;
    // Whether a chosen row holds a lesson (the teacher then needs cover, not only free periods).
    bool anyLessonSelected() const;

  private:
    week::PerPeriod<PeriodRow> rows_{};
};

// What storing a teacher did.
struct Stored {
    int queued = 0;           // rows added to 需代课目情况
    int heldBack = 0;         // lessons given 标记 = 1
    bool needsCover = false;  // a chosen lesson: the teacher goes to the assignment screen
    // Lessons the window showed that are no longer in 任课情况 (changed meanwhile), for the
    // operator; the rest was stored.
    std::vector<std::string> notFound;
};

// Stores one teacher's choice for a weekday in one transaction. A teacher entered earlier the
// same day has that entry taken back first (his covered lessons stay as they are), so that an
// entry made again edits it: every chosen open lesson is
// queued in 需代课目情况 (a copy of its 任课情况 row), every open lesson not chosen gets
// 标记 = 1, covered lessons are left alone, and the teacher is entered in 代课教师 as away in
// each chosen period (free periods with "1" in the flag column), period by period in order.
// With the week known, a lesson a swap gives to a colleague is not queued.
Stored storeTeacher(Store& store, std::string_view teacher, int weekday, const DaySheet& sheet,
                    std::optional<int> week = std::nullopt);

}  // namespace absence
}  // namespace daike
