// The text the office pastes into the teachers' chat group (WeChat, DingTalk) to tell the
// substitutes of the day's cover: names first, one line per substitute, so that every teacher
// finds himself at a glance; a second form by class for the head teachers' group; and, once the
// substitutes were told, only what changed since (a new substitute, one no longer needed).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/telling.h"
#include "school/calendar.h"
#include "school/period_times.h"
#include "store/tables/covers.h"

namespace daike {

class Store;
struct SchoolDay;

namespace grouptext {

// Names first (the teachers' group) or by class (the head teachers' group).
enum class Form { ByTeacher, ByClass };

// The day the text speaks of.
struct Day {
    std::optional<calendar::Day> date;  // none while the first day of term or the week is unknown
    int week = 0;                       // 0: unknown
    int weekday = 0;
};

// "12月9日（周三）"; without a date "第3周周三"; without a week "周三".
std::string dayText(const Day& day);

// The whole day: "【代课】12月9日（周三）赵晶超：第1节 三(2)语文（程静）、第4节 四(1)数学（李明）",
// one line per substitute in the order they first appear in `cover`, his lessons in period
// order; by class "【代课】12月9日（周三）三(2)班：第1节 语文 赵晶超代（程静）、…", classes by
// grade and number. Lines end in "\n" between them, none after the last; "" for no cover.
std::string wholeDay(const std::vector<CoverRecord>& cover, Form form, const Day& day,
                     const PeriodTimes& times);

// Only the changes: "【代课变更】12月9日（周三）", then a line for each new substitute as in the
// whole day (without the day in front) and one for each substitute no longer needed:
// "赵晶超：第1节 三(2)语文 不用代了". By class: "三(2)班：第1节 语文 王芳代（程静）" and
// "三(2)班：第1节 语文 赵晶超不用代了". "" when nothing changed.
std::string changesOnly(const std::vector<CoverRecord>& added,
                        const std::vector<CoverRecord>& withdrawn, Form form, const Day& day,
                        const PeriodTimes& times);

// A swap of the day (调课) as the group reads it: both teachers ("李老师、张老师": the colleague
// who takes the lesson, then its teacher), the class, the swap in words (swapping::toldTo, to
// everyone).
using SwapNote = ToldSwap;

// The swaps' lines: "【调课】12月9日（周三）李老师、张老师：12月9日第3节 李老师代张老师上…" in
// the order given; by class "【调课】12月9日（周三）一(1)班：…", classes by grade and number.
// Lines end in "\n" between them, none after the last.
std::string swapLines(const std::vector<SwapNote>& swaps, Form form, const Day& day,
                      const std::string& head = "【调课】");

// What the window for the group's text shows: the working day's cover, substitutes in Chinese
// (pinyin) order of the school's teacher list, names not in it after them; the changes since the
// substitutes were told; the periods' times.
struct DayTexts {
    Day day;
    PeriodTimes times;
    std::vector<CoverRecord> cover;  // of the working day
    std::vector<SwapNote> swaps;     // the swaps with a slot on the working day
    telling::Changes changes;
    telling::SwapChanges swapChanges;
    // The substitutes or the teachers of a swap were told of the day once.
    bool toldBefore() const { return changes.toldBefore || swapChanges.toldBefore; }
    // They were told before and something changed since.
    bool offersChanges() const { return toldBefore() && (changes.any() || swapChanges.any()); }
    // Nothing to tell: no cover or swap today and nothing withdrawn since telling.
    bool empty() const { return cover.empty() && swaps.empty() && !offersChanges(); }
    // Something the teachers have not been told: the day's cover and swaps before anyone was
    // told, a change after.
    bool untold() const {
        return toldBefore() ? offersChanges() : !cover.empty() || !swaps.empty();
    }
    // The whole day's text has the swaps after the cover; the changes have the swaps recorded
    // since ("【调课】…") and those withdrawn ("【调课取消】…") after the cover's changes.
    std::string text(Form form, bool onlyChanges) const;
};

DayTexts read(Store& store, const SchoolDay& workingDay);

}  // namespace grouptext
}  // namespace daike
