#include "engine/absence_entry.h"

#include <algorithm>

#include "engine/assignment.h"
#include "engine/free_period_leave.h"
#include "store/store.h"
#include "store/week.h"

namespace daike::absence {

namespace {

bool coveredMarks(const Recordset& rs) {
    return rs["标记"].toInt() == 1 && rs["已代标记"].toInt() == 1;
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

std::optional<int> weekdayFrom(std::string_view text) {
    std::string t;
    for (char c : text)
        if (c != ' ') t += c;
    if (t.size() != 1 || !week::isWeekday(t[0] - '0')) return std::nullopt;
    return t[0] - '0';
}

void openEntry(Store& store) {
    store.transaction([&] { store.emptyTable("需代课目情况"); });
}

bool teacherExists(Store& store, std::string_view name) {
    return !store.dkb("select * from 教师姓名 where 姓名=?", {Value(name)}).empty();
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

DaySheet DaySheet::load(Store& store, std::string_view teacher, int weekday) {
    DaySheet sheet;
    auto rs = store.dkb("select * from 任课情况 where 姓名=? and 星期=? order by 节次",
                        {Value(teacher), Value(weekday)});
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const auto period = rs["节次"].toInt();
        if (!week::isPeriod(period)) continue;
        sheet.rows_[static_cast<std::size_t>(period - 1)].lessons.push_back(
            {rs["班级"].text(), rs["课目"].text(), coveredMarks(rs)});
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

Stored storeTeacher(Store& store, std::string_view teacher, int weekday, const DaySheet& sheet) {
    Stored done;
    store.transaction([&] {
        auto queue = store.dkb("select * from 需代课目情况");
        for (int r = 0; r < week::kPeriods; ++r) {
            const auto& row = sheet.row(r);
            if (row.free() || row.covered()) continue;
            // Each lesson the window showed, matched once against the timetable as it now is;
            // only lessons that exist are looked at.
            std::vector<const Lesson*> wanted;
            for (const auto& l : row.lessons)
                if (!l.covered) wanted.push_back(&l);
            auto rs = store.dkb("select * from 任课情况 where 姓名=? and 星期=? and 节次=?",
                                {Value(teacher), Value(weekday), Value(r + 1)});
            for (rs.moveFirst(); !rs.eof() && !wanted.empty(); rs.moveNext()) {
                auto it = std::find_if(wanted.begin(), wanted.end(), [&](const Lesson* l) {
                    return l->cls == rs["班级"].text() && l->subject == rs["课目"].text();
                });
                if (it == wanted.end()) continue;
                wanted.erase(it);
                if (coveredMarks(rs)) continue;
                if (row.selected) {
                    assignment::queueLesson(queue, rs);
                    ++done.queued;
                    done.needsCover = true;
                } else {
                    rs.set("标记", 1);
                    ++done.heldBack;
                }
            }
            rs.update();
            for (const auto* l : wanted)
                done.notFound.push_back(week::periodName(r + 1) + l->cls + l->subject);
        }
        queue.update();
        for (int r = 0; r < week::kPeriods; ++r) {
            const auto& row = sheet.row(r);
            if (row.selected && !row.covered())
                leave::recordAway(store, teacher, r + 1, row.free());
        }
    });
    return done;
}

}  // namespace daike::absence
