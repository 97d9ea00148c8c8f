// Cover recorded after the fact and a reason corrected: 补登 records the cover of an earlier day
// of this term (a colleague who stepped in at 8:05, the program not at hand), counted in the
// term's records and tally but not in today's; 改事由 changes only the reason of a recorded
// cover (事假 recorded as 病假), no tally changes. Both write one line to 修改记录.
#pragma once

#include <string>
#include <vector>

#include "school/calendar.h"
#include "store/refusal.h"
#include "store/tables/change_log.h"
#include "store/tables/covers.h"
#include "store/tables/timetable.h"

namespace daike {

class Store;

namespace latecover {

// What the office fills in for 补登.
struct Request {
    std::string absent;      // as typed
    std::string date;        // as typed: "2026-09-15", "2026年9月15日"
    int period = 0;          // 1-6
    std::string substitute;  // as typed
    std::string reason;      // 病假, 事假, 公出 or the office's own text
};

// A checked 补登: the record it writes, and its day.
struct Entry {
    CoverRecord record;
    calendar::Day day{};
};

// The absent teacher's lessons on the weekday of that date, for the window's list; refused
// like `check` for an unknown teacher or a date that cannot be covered afterwards.
Checked<std::vector<TimetableRow>> lessonsOn(Store& store, const std::string& absent,
                                             const std::string& date, calendar::Day today);

// Checks a 补登 against the term and the timetable: the first day of term is set; the date is a
// school day of this term before today; the absent teacher has a lesson then (its class and
// subject are the timetable's); the substitute is another teacher on the list, with no lesson of
// his own then and no other cover recorded then; the lesson has no cover recorded; a reason is
// given.
Checked<Entry> check(Store& store, const Request& request, calendar::Day today);

// "补登：2026年9月15日（第3周星期二）第2节，张三（病假）的三(2)语文由李四代。计入本学期的代课
// 记录和李四的学期代课节数，不计入今天。是否确定？（是/否）"
std::string question(const Entry& entry);

// Writes it, in one transaction: the record into 代课记录, one more lesson in the substitute's
// term tally (学期代课), one line in 修改记录. `when` is the office's clock ("2026-12-09 08:15").
void record(Store& store, const Entry& entry, const std::string& when);

// The term's recorded covers, for 改事由 to choose from (代课记录 in table order).
std::vector<CoverRecord> termCovers(Store& store);

// 改事由: the cover's reason in 代课记录, and in today's tables when it is one of today's
// covers, becomes `reason`, in one transaction with its line in 修改记录. No tally changes.
// Refused when the reason is blank or unchanged, or the record is no longer there.
Checked<> changeReason(Store& store, const CoverRecord& cover, const std::string& reason,
                       const std::string& when);

// "第3周星期二第2节 三(2)语文：张三（病假），李四代", as 修改记录 and the lists show a record.
std::string describe(const CoverRecord& cover);

}  // namespace latecover
}  // namespace daike
