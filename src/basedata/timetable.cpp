#include "basedata/timetable.h"

#include "store/store.h"
#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike {

namespace {
int weekdayOf(int cell) {
    return week::weekdayOfSlot(cell);
}
int periodOf(int cell) {
    return week::periodOfSlot(cell);
}
std::vector<TimetableRow> lessonsAt(Store& store, const std::string& className, int weekday,
                                    int period) {
    LessonFilter slot;
    slot.cls = className;
    slot.weekday = weekday;
    slot.period = period;
    return timetable::read(store, slot);
}
}  // namespace

TeacherWeek teacherWeek(Store& store, const std::string& teacher) {
    TeacherWeek out;
    LessonFilter of;
    of.teacher = teacher;
    for (const auto& lesson : timetable::read(store, of)) {
        ++out.lessons;
        // Only whole weekdays and periods within the week have a cell.
        if (!lesson.onGrid) {
            ++out.outsideGrid;
            continue;
        }
        auto& cell =
            out.cells[static_cast<std::size_t>(week::slotIndex(lesson.weekday, lesson.period))];
        cell.subject = lesson.subject;
        cell.className = lesson.cls;
    }
    return out;
}

std::string clashLine(const Clash& c) {
    const std::string day = week::isWeekday(c.weekday) ? week::weekdayName(c.weekday) : "星期";
    return c.teacher + "老师" + day + week::periodName(c.period) + "在" + c.className +
           "班中已有课务！";
}

std::vector<std::string> clashLines(const std::vector<Clash>& clashes) {
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < 2 && k < clashes.size(); ++k)
        lines.push_back(clashLine(clashes[k]));
    if (clashes.size() > 2) lines.back() += "（另有" + std::to_string(clashes.size() - 2) + "条）";
    return lines;
}

Checked<SaveResult> saveLessons(Store& store, const std::string& teacher,
                                const std::string& className, const std::string& subject,
                                const std::vector<int>& cells) {
    if (!cells.empty() && (teacher.empty() || className.empty() || subject.empty()))
        return Refusal{"请先选择教师、班级和任课！"};
    SaveResult result;
    store.transaction([&] {
        for (int cell : cells) {
            if (cell < 0 || cell >= kGridCells) continue;
            const int w = weekdayOf(cell), p = periodOf(cell);
            auto there = lessonsAt(store, className, w, p);
            if (!there.empty()) {
                result.clashCell = cell;
                for (const auto& lesson : there)
                    result.clashes.push_back({lesson.teacher, w, p, className});
                break;
            }
            TimetableRow lesson;
            lesson.teacher = teacher;
            lesson.weekday = w;
            lesson.cls = className;
            lesson.period = p;
            lesson.subject = subject;
            // Written at once, so that the check of the next cell sees it.
            timetable::add(store, lesson);
            result.saved.push_back(cell);
        }
    });
    return result;
}

int deleteLessons(Store& store, const std::vector<std::pair<int, GridCell>>& cells) {
    return store.transaction([&] {
        int deleted = 0;
        for (const auto& [cell, shown] : cells) {
            if (cell < 0 || cell >= kGridCells) continue;
            const auto there = lessonsAt(store, shown.className, weekdayOf(cell), periodOf(cell));
            const bool single = there.size() == 1;
            for (const auto& lesson : there) {
                if (single || (lesson.subject == shown.subject && lesson.cls == shown.className)) {
                    timetable::remove(store, lesson.row);
                    ++deleted;
                }
            }
        }
        return deleted;
    });
}

}  // namespace daike
