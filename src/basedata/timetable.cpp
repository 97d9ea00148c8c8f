#include "basedata/timetable.h"

#include "store/store.h"
#include "store/week.h"

namespace daike {

namespace {
int weekdayOf(int cell) {
    return week::weekdayOfSlot(cell);
}
int periodOf(int cell) {
    return week::periodOfSlot(cell);
}
Recordset lessonsAt(Store& store, const std::string& className, int weekday, int period) {
    return store.dkb("select * from 任课情况 where 班级=? and 星期=? and 节次=?",
                     {className, weekday, period});
}
}  // namespace

TeacherWeek teacherWeek(Store& store, const std::string& teacher) {
    TeacherWeek week;
    auto rs = store.dkb("select * from 任课情况 where 姓名=?", {teacher});
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        ++week.lessons;
        const auto w = rs["星期"].toInt();
        const auto p = rs["节次"].toInt();
        // Only whole weekdays 1-5 and periods 1-6 have a cell.
        if (!rs["星期"].isInteger() || !rs["节次"].isInteger() || !week::isWeekday(w) ||
            !week::isPeriod(p)) {
            ++week.outsideGrid;
            continue;
        }
        auto& cell = week.cells[static_cast<std::size_t>(
            week::slotIndex(static_cast<int>(w), static_cast<int>(p)))];
        cell.subject = rs["课目"].text();
        cell.className = rs["班级"].text();
    }
    return week;
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

SaveResult saveLessons(Store& store, const std::string& teacher, const std::string& className,
                       const std::string& subject, const std::vector<int>& cells) {
    SaveResult result;
    store.transaction([&] {
        auto added = store.dkb("select * from 任课情况");
        for (int cell : cells) {
            if (cell < 0 || cell >= kGridCells) continue;
            const int w = weekdayOf(cell), p = periodOf(cell);
            auto there = lessonsAt(store, className, w, p);
            if (!there.empty()) {
                result.clashCell = cell;
                for (there.moveFirst(); !there.eof(); there.moveNext())
                    result.clashes.push_back({there["姓名"].text(), w, p, className});
                break;
            }
            added.addNew();
            added.set("姓名", teacher);
            added.set("星期", w);
            added.set("班级", className);
            added.set("节次", p);
            added.set("课目", subject);
            // Written at once, so that the check of the next cell sees it.
            added.update();
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
            auto rs = lessonsAt(store, shown.className, weekdayOf(cell), periodOf(cell));
            const bool single = rs.recordCount() == 1;
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                if (single ||
                    (rs["课目"].text() == shown.subject && rs["班级"].text() == shown.className)) {
                    rs.remove();
                    ++deleted;
                }
            }
            rs.update();
        }
        return deleted;
    });
}

}  // namespace daike
