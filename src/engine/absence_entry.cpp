#include "engine/absence_entry.h"

#include <algorithm>
#include <set>

#include "engine/free_period_leave.h"
#include "engine/swaps.h"
#include "school/name_search.h"
#include "store/store.h"
#include "store/tables/away.h"
#include "store/tables/queue.h"
#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike::absence {

namespace {

bool coveredMarks(const TimetableRow& l) {
    return l.dealtWith && l.covered;
}

// The teacher's lessons of the day (period and class) a swap gives to a colleague: they need
// no cover.
std::set<std::pair<int, std::string>> swappedAway(Store& store, std::string_view teacher,
                                                  int weekday, std::optional<int> week) {
    std::set<std::pair<int, std::string>> out;
    if (!week) return out;
    for (const auto& t : swapping::onDay(store, *week, weekday))
        if (t.owner == teacher) out.insert({t.period, t.cls});
    return out;
}

std::string joined(const std::vector<Lesson>& lessons, std::string Lesson::*field) {
    std::string out;
    for (const auto& l : lessons) out += (out.empty() ? "" : "/") + l.*field;
    return out;
}

// Whether row r (period r + 1) lies in half h (0 morning, 1 afternoon).
bool inHalf(int r, int h) {
    return week::isMorning(r + 1) == (h == 0);
}

}  // namespace

Checked<int> weekdayFrom(std::string_view text) {
    std::string t;
    for (char c : text)
        if (c != ' ') t += c;
    if (t.size() != 1 || !week::isWeekday(t[0] - '0'))
        return Refusal{"星期只能是1至5（星期一至星期五），请重新输入！"};
    return t[0] - '0';
}

Checked<std::string> storedTeacher(Store& store, std::string_view name) {
    return names::knownTeacher(store, name);
}

bool PeriodRow::covered() const {
    return !lessons.empty() &&
           std::all_of(lessons.begin(), lessons.end(), [](const Lesson& l) { return l.covered; });
}

RowState PeriodRow::state() const {
    if (free()) return selected ? RowState::FreeSelected : RowState::FreeNotSelected;
    if (covered()) return RowState::Covered;
    return selected ? RowState::OpenSelected : RowState::OpenNotSelected;
}

std::string PeriodRow::classText() const {
    return joined(lessons, &Lesson::cls);
}

std::string PeriodRow::subjectText() const {
    return joined(lessons, &Lesson::subject);
}

DaySheet DaySheet::load(Store& store, std::string_view teacher, int weekday,
                        std::optional<int> week) {
    DaySheet sheet;
    LessonFilter day;
    day.teacher = std::string(teacher);
    day.weekday = weekday;
    const auto swapped = swappedAway(store, teacher, weekday, week);
    for (const auto& l : timetable::byPeriod(store, day)) {
        if (!week::isPeriod(l.period)) continue;
        sheet.rows_[static_cast<std::size_t>(l.period - 1)].lessons.push_back(
            {l.cls, l.subject, coveredMarks(l) || swapped.count({l.period, l.cls})});
    }
    return sheet;
}

bool DaySheet::hasLessons() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const PeriodRow& r) { return !r.free(); });
}

bool DaySheet::toggle(int r) {
    auto& row = rows_[static_cast<std::size_t>(r)];
    if (row.covered()) return false;
    row.selected = !row.selected;
    return true;
}

Half DaySheet::half(int h) const {
    int selected = 0, covered = 0;
    for (int r = 0; r < week::kPeriods; ++r) {
        if (!inHalf(r, h)) continue;
        const auto s = row(r).state();
        if (s == RowState::OpenSelected || s == RowState::FreeSelected) ++selected;
        if (s == RowState::Covered) ++covered;
    }
    if (selected == 0) return Half::None;
    if (selected == (h == 0 ? week::kMorningPeriods : week::kAfternoonPeriods) - covered)
        return Half::All;
    return Half::Part;
}

void DaySheet::clickHalf(int h) {
    const bool choose = half(h) == Half::None;
    for (int r = 0; r < week::kPeriods; ++r) {
        auto& row = rows_[static_cast<std::size_t>(r)];
        if (inHalf(r, h) && !row.covered()) row.selected = choose;
    }
}

bool DaySheet::anySelected() const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const PeriodRow& r) { return r.selected && !r.covered(); });
}

bool DaySheet::anyLessonSelected() const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const PeriodRow& r) { return r.selected && !r.free() && !r.covered(); });
}

namespace {

// A teacher entered again the same day (after the window was closed, after a restart) has his
// entry edited, not doubled: what the earlier entry queued, held back and booked is taken back
// first, except where his lessons are covered already. Bookings as a substitute (in a free
// period, without the leave flag) stay.
void takeBackEarlierEntry(Store& store, std::string_view teacher, int weekday,
                          const DaySheet& sheet) {
    LessonFilter his;
    his.teacher = std::string(teacher);
    his.weekday = weekday;
    std::vector<TimetableRow> lessons = timetable::read(store, his);
    auto coveredLesson = [&](const QueuedLesson& q) {
        return std::any_of(lessons.begin(), lessons.end(), [&](const TimetableRow& l) {
            return coveredMarks(l) && QueuedLesson::of(l) == q;
        });
    };
    for (const auto& q : queue::read(store, his))
        if (!coveredLesson(q)) queue::removeOne(store, q);
    for (const auto& l : lessons)
        if (l.dealtWith && !l.covered) timetable::setDealtWith(store, l.row, false);
    for (int r = 0; r < week::kPeriods; ++r) {
        const auto& row = sheet.row(r);
        if (row.covered()) continue;
        const int period = r + 1;
        int asSubstitute = 0;
        bool booked = false;
        for (const auto& b : away::inPeriod(store, period)) {
            if (b.name != teacher) continue;
            booked = true;
            if (row.free() && !b.freePeriod) ++asSubstitute;
        }
        if (!booked) continue;
        while (away::withdraw(store, period, teacher)) {
        }
        for (int k = 0; k < asSubstitute; ++k) away::book(store, period, teacher);
    }
}

}  // namespace

Stored storeTeacher(Store& store, std::string_view teacher, int weekday, const DaySheet& sheet,
                    std::optional<int> week) {
    Stored done;
    store.transaction([&] {
        const auto swapped = swappedAway(store, teacher, weekday, week);
        takeBackEarlierEntry(store, teacher, weekday, sheet);
        for (int r = 0; r < week::kPeriods; ++r) {
            const auto& row = sheet.row(r);
            if (row.free() || row.covered()) continue;
            // Each lesson the window showed, matched once against the timetable as it now is;
            // only lessons that exist are looked at.
            std::vector<const Lesson*> wanted;
            for (const auto& l : row.lessons)
                if (!l.covered) wanted.push_back(&l);
            LessonFilter slot;
            slot.teacher = std::string(teacher);
            slot.weekday = weekday;
            slot.period = r + 1;
            for (const auto& lesson : timetable::read(store, slot)) {
                if (wanted.empty()) break;
                auto it = std::find_if(wanted.begin(), wanted.end(), [&](const Lesson* l) {
                    return l->cls == lesson.cls && l->subject == lesson.subject;
                });
                if (it == wanted.end()) continue;
                wanted.erase(it);
                if (coveredMarks(lesson) || swapped.count({lesson.period, lesson.cls})) continue;
                if (row.selected) {
                    queue::add(store, QueuedLesson::of(lesson));
                    ++done.queued;
                    done.needsCover = true;
                } else {
                    timetable::setDealtWith(store, lesson.row, true);
                    ++done.heldBack;
                }
            }
            for (const auto* l : wanted)
                done.notFound.push_back(week::periodName(r + 1) + l->cls + l->subject);
        }
        for (int r = 0; r < week::kPeriods; ++r) {
            const auto& row = sheet.row(r);
            // Already standing in the period (covering a lesson then) he keeps one entry: he
            // is not free then either way.
            if (row.selected && !row.covered() && !away::isBooked(store, r + 1, teacher))
                leave::recordAway(store, teacher, r + 1, row.free());
        }
    });
    return done;
}

}  // namespace daike::absence
