// The assignment of one absent teacher's day: loading the teacher's lessons of a weekday,
// recording a confirmed cover, looking for lessons that suit the chosen substitute better,
// and the steps that start and end the work of a day.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/tables/teachers.h"
#include "store/value.h"
#include "store/week.h"

namespace daike {

class Store;

namespace assignment {

// One lesson of the absent teacher on the weekday being covered.
struct Lesson {
    int period = 0;  // 节次 1 to 6
    std::string cls;
    std::string subject;
    bool dealtWith = false;      // 标记 = 1: covered already, or held back from cover
    std::string coveredBy = {};  // the substitute recorded today for this lesson, if covered
    bool swapped = false;        // a swap gives it to the colleague named in coveredBy
};

// The teacher's lessons of a weekday ("1" to "5" as the screen shows it), by period.
// Opening the assignment screen starts a new list of the cover recorded through it.
void openScreen(Store& store);

// With the day's week (`weekText`, the 周次 of its records), a lesson a swap gives to a colleague
// is dealt with, and swapped to him.
std::vector<Lesson> loadDay(Store& store, std::string_view teacher, std::string_view weekdayText,
                            std::string_view weekText = {});

// A teacher's day is finished when no lesson of periods 1 to 6 is left to cover, however many
// share a period.
bool dayFinished(const std::vector<Lesson>& lessons);

// The lessons of one period of the grid, in timetable order; none for a free period. Two
// lessons in one period (a timetable entered by hand allows it) both stay on the row and are
// covered one at a time.
struct PeriodLessons {
    std::vector<Lesson> lessons;

    bool free() const { return lessons.empty(); }
    bool several() const { return lessons.size() > 1; }
    // Every lesson of the period is covered or held back (false for a free period).
    bool dealtWith() const;
    // The lesson a click on the period offers for cover: the first still open, or none.
    std::optional<Lesson> open() const;
    // The open lesson of that class and subject, when the period has one.
    std::optional<Lesson> open(std::string_view cls, std::string_view subject) const;
    // What the row shows: the classes joined by "/" ("一(1)/一(2)"), the subjects likewise
    // (once when all are the same), and who covers them: the substitute's name for one lesson;
    // for several, each lesson's substitute, "待代" while open, "—" when held back, joined by
    // "/" in the order of the classes. Empty while nothing of the period is covered.
    std::string classes() const;
    std::string subjects() const;
    std::string coveredBy() const;
};

// The grid of a day: for each period (index period − 1) its lessons. Lessons outside the day
// have no place.
using Grid = week::PerPeriod<PeriodLessons>;
Grid gridOf(const std::vector<Lesson>& lessons);

// The day as the exit step hands it to the free-period window: the periods that hold a
// lesson, and those among them no longer open to cover (every lesson covered or held back).
struct DayAtExit {
    week::PerPeriod<bool> lesson{};
    week::PerPeriod<bool> covered{};
};
DayAtExit dayAtExit(const std::vector<Lesson>& lessons);

// The weekday box's two buttons: one school day on (delta > 0) or back, round within Monday (1)
// to Friday (5). From a day outside them (a weekend day shown at start) on gives Monday and
// back gives Friday.
int stepWeekday(int weekday, int delta);

// A candidate who teaches nothing in the lesson's class (no affinity letters) may suit a queued
// lesson of the same period in one of their own classes better: only then is the search made
// before the cover is recorded.
bool searchesForBetterLessons(std::string_view affinity);

// One confirmed cover, as the assignment screen shows it.
struct Cover {
    std::string absent;       // 被代
    std::string reason;       // 性质
    std::string substitute;   // 代者
    std::string week;         // 周次, the week box's text as it stands
    std::string weekdayText;  // 星期, "1" to "5"
    std::string cls;          // 班级
    std::string subject;      // 课目
    int period = 0;           // 节次
};

// 代课运算实体程序: writes one cover in one transaction. In the several-teachers mode the
// lesson's row of 需代课目情况 goes (the one of this teacher, weekday, class, period and subject:
// two absent teachers may both have a lesson of one class in one period); the substitute's tallies
// rise by one; one record is appended to 临时代课记录, 代课记录 and 当天代课记录 (a term record of
// the same lesson, week and weekday left from a day cleared by 新的一天 is replaced, and its
// substitute's term tally goes back by one); the substitute is
// booked in the period's column of 代课教师; the lesson gets both marks. A substitute without a row
// in 代课节数 is refused with a Failure and nothing is written, and so is a cover of a lesson
// the absent teacher does not have on that weekday (class, period and subject).
void recordCover(Store& store, const Cover& cover, bool severalTeachers);

// 得到所任班级: the distinct classes a teacher is head teacher of or teaches a main subject in,
// from the teacher's 教师姓名 row: the head-teacher class first, then the 语文, 数学, 英语 and
// 科学 lists in list order. Every class is kept, however many.
std::vector<std::string> taughtClasses(const TeacherRow& teacher);
// The same from the row's values in stored order (姓名, 班主任, 语文, 数学, 英语, 科学).
std::vector<std::string> taughtClasses(const std::vector<Value>& teacherRow);

// A lesson of the same period, still queued in 需代课目情况, in a class the substitute teaches.
struct Suggestion {
    std::string absent;
    std::string weekday;
    std::string cls;
    std::string period;
    std::string subject;
    std::string affinity;  // the substitute's affinity letters with that class
};

// The search for better-suited lessons (把搜索到的可代情况在frame5中显示出来 shows them): one
// suggestion per taught class whose lesson of that weekday and period is still queued, in the
// order of taughtClasses. Nothing when the substitute has no 教师姓名 row.
std::vector<Suggestion> findSuggestions(Store& store, std::string_view substitute,
                                        std::string_view weekdayText, int period);

// The exit step: lessons marked as dealt with but not covered (held back by the absence entry)
// become normal again.
void releaseHeldBack(Store& store);

// The reason an absent teacher's lessons are recorded under today (his first cover's), if he
// has a cover today.
std::optional<std::string> reasonOfToday(Store& store, std::string_view absent);

// Names joined for a message: 张三、李四.
std::string joinNames(const std::vector<std::string>& names);

}  // namespace assignment
}  // namespace daike

namespace daike::assignment {

// One page of the candidate list: 32 rows from the page offset.
inline constexpr int kPageRows = 32;
struct Page {
    int first = 0;          // index of the first row shown
    int count = 0;          // rows shown
    bool previous = false;  // "上一页" shown
    bool next = false;      // "下一页" shown
};
// The page at an offset; an offset at or beyond the rows (left from a longer list) falls back
// to the first page.
Page pageAt(int rows, int offset);

}  // namespace daike::assignment
