#include "engine/assignment.h"

#include <algorithm>

#include "engine/ranking.h"
#include "school/resets.h"
#include "store/store.h"
#include "store/text.h"
#include "store/week.h"

namespace daike::assignment {

namespace {

Value weekdayValue(std::string_view weekdayText) {
    return Value(static_cast<std::int64_t>(leadingNumber(weekdayText)));
}

void appendRecord(Store& store, const char* table, const Cover& c) {
    auto rs = store.dkb(std::string("select * from ") + table);
    rs.addNew();
    rs.set(0, c.absent);
    rs.set(1, c.reason);
    rs.set(2, c.substitute);
    rs.set(3, c.week);
    rs.set(4, leadingNumber(c.weekdayText));
    rs.set(5, c.cls);
    rs.set(6, c.subject);
    rs.set(7, c.period);
    rs.update();
}

}  // namespace

void openScreen(Store& store) {
    store.emptyTable("临时代课记录");
}

std::vector<Lesson> loadDay(Store& store, std::string_view teacher, std::string_view weekdayText) {
    std::vector<Lesson> lessons;
    auto rs = store.dkb("select * from 任课情况 where 姓名=? and 星期=? order by 节次",
                        {Value(teacher), weekdayValue(weekdayText)});
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        Lesson l;
        l.period = static_cast<int>(rs["节次"].toInt());
        l.cls = rs["班级"].text();
        l.subject = rs["课目"].text();
        l.dealtWith = rs["标记"].toInt() == 1;
        if (rs["已代标记"].toInt() == 1) {
            auto today = store.dkb(
                "select * from 当天代课记录 where 被代=? and 星期=? and 班级=? and 节次=? and "
                "课目=?",
                {Value(teacher), weekdayValue(weekdayText), Value(l.cls), Value(l.period),
                 Value(l.subject)});
            if (!today.empty()) {
                today.moveFirst();
                l.coveredBy = today["代者"].text();
            }
        }
        lessons.push_back(std::move(l));
    }
    return lessons;
}

using text::trimmed;

std::string storedTeacherName(Store& store, std::string_view name) {
    auto rs = store.dkb("select * from 教师姓名");
    std::optional<std::string> loose;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const std::string stored = rs["姓名"].text();
        if (stored == name) return stored;
        if (!loose && !trimmed(stored).empty() && trimmed(stored) == trimmed(name)) loose = stored;
    }
    return loose ? *loose : std::string(name);
}

bool PeriodLessons::dealtWith() const {
    return !lessons.empty() &&
           std::all_of(lessons.begin(), lessons.end(), [](const Lesson& l) { return l.dealtWith; });
}

std::optional<Lesson> PeriodLessons::open() const {
    for (const auto& l : lessons)
        if (!l.dealtWith) return l;
    return std::nullopt;
}

std::optional<Lesson> PeriodLessons::open(std::string_view cls, std::string_view subject) const {
    for (const auto& l : lessons)
        if (!l.dealtWith && l.cls == cls && l.subject == subject) return l;
    return std::nullopt;
}

std::string PeriodLessons::classes() const {
    std::string out;
    for (const auto& l : lessons) out += (out.empty() ? "" : "/") + l.cls;
    return out;
}

std::string PeriodLessons::subjects() const {
    std::string out;
    const bool same = std::all_of(lessons.begin(), lessons.end(),
                                  [&](const Lesson& l) { return l.subject == lessons[0].subject; });
    for (const auto& l : lessons) {
        out += (out.empty() ? "" : "/") + l.subject;
        if (same) break;
    }
    return out;
}

std::string PeriodLessons::coveredBy() const {
    if (std::none_of(lessons.begin(), lessons.end(),
                     [](const Lesson& l) { return !l.coveredBy.empty(); }))
        return {};
    if (!several()) return lessons[0].coveredBy;
    std::string out;
    for (std::size_t i = 0; i < lessons.size(); ++i) {
        const auto& l = lessons[i];
        out += i == 0 ? "" : "/";
        out += !l.coveredBy.empty() ? l.coveredBy : l.dealtWith ? "—" : "待代";
    }
    return out;
}

Grid gridOf(const std::vector<Lesson>& lessons) {
    Grid grid;
    for (const auto& l : lessons)
        if (week::isPeriod(l.period))
            grid[static_cast<std::size_t>(l.period - 1)].lessons.push_back(l);
    return grid;
}

bool dayFinished(const std::vector<Lesson>& lessons) {
    const auto grid = gridOf(lessons);
    return std::none_of(grid.begin(), grid.end(), [](const auto& p) { return p.open(); });
}

DayAtExit dayAtExit(const std::vector<Lesson>& lessons) {
    DayAtExit day;
    const auto grid = gridOf(lessons);
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const auto& ls = grid[i].lessons;
        day.lesson[i] =
            std::any_of(ls.begin(), ls.end(), [](const Lesson& l) { return !l.subject.empty(); });
        // A lesson without a class was never open to cover through the grid.
        day.covered[i] = !ls.empty() && std::all_of(ls.begin(), ls.end(), [](const Lesson& l) {
            return !l.cls.empty() && l.dealtWith;
        });
    }
    return day;
}

int stepWeekday(int weekday, int delta) {
    return delta > 0 ? week::nextWeekday(weekday) : week::previousWeekday(weekday);
}

bool searchesForBetterLessons(std::string_view affinity) {
    return affinity.empty();
}

void recordCover(Store& store, const Cover& c, bool severalTeachers) {
    store.transaction([&] {
        // A cover always stands for a lesson of the absent teacher: a record of a class and
        // subject on a day the teacher does not teach them would book a substitute and raise
        // the tallies for nothing.
        if (store
                .dkb("select * from 任课情况 where 姓名=? and 星期=? and 班级=? and 课目=? and "
                     "节次=?",
                     {Value(c.absent), weekdayValue(c.weekdayText), Value(c.cls), Value(c.subject),
                      Value(c.period)})
                .empty())
            throw StoreError(StoreError::Kind::Usage,
                             "“" + c.absent + "”老师星期" + c.weekdayText +
                                 week::periodName(c.period) + "没有" + c.cls + "班的" + c.subject +
                                 "课，本节代课没有记入。请按“确定”重新调出该教师当天"
                                 "的课务。");
        if (severalTeachers) {
            // The queued row of this very lesson: another absent teacher may have a lesson of
            // the same class in the same period, and that one is still to be covered.
            auto rs = store.dkb(
                "select * from 需代课目情况 where 姓名=? and 星期=? and 班级=? and 节次=? and "
                "课目=?",
                {Value(c.absent), weekdayValue(c.weekdayText), Value(c.cls), Value(c.period),
                 Value(c.subject)});
            if (!rs.empty()) {
                rs.moveFirst();
                rs.remove();
                rs.update();
            }
        }
        {
            auto rs = store.dkb("select * from 代课节数");
            if (!rs.findName(c.substitute))
                throw StoreError(
                    StoreError::Kind::Usage,
                    "代课节数表中没有“" + c.substitute +
                        "”老师的记录，本节代课没有记入。请先运行“数据初始化”→“期初基本操作”"
                        "中的“代课节数初始化”。");
            rs.set("当日代课", rs["当日代课"].toInt() + 1);
            rs.set("学期代课", rs["学期代课"].toInt() + 1);
            rs.update();
        }
        appendRecord(store, "临时代课记录", c);
        appendRecord(store, "代课记录", c);
        appendRecord(store, "当天代课记录", c);
        store.putFirstFree("代课教师", std::to_string(c.period), Value(c.substitute));
        {
            auto rs = store.dkb(
                "select * from 任课情况 where 姓名=? and 星期=? and 班级=? and 课目=? and 节次=?",
                {Value(c.absent), weekdayValue(c.weekdayText), Value(c.cls), Value(c.subject),
                 Value(c.period)});
            if (!rs.empty()) {
                // Where the timetable holds the lesson twice, the copy not yet covered gets
                // the marks, so that the second cover does not land on the first copy again.
                rs.moveFirst();
                while (!rs.eof() && rs["已代标记"].toInt() == 1) rs.moveNext();
                if (rs.eof()) rs.moveFirst();
                rs.set("标记", 1);
                rs.set("已代标记", 1);
                rs.update();
            }
        }
    });
}

std::vector<std::string> taughtClasses(const std::vector<Value>& row) {
    std::vector<std::string> classes;
    auto add = [&](std::string c) {
        if (!c.empty() && std::find(classes.begin(), classes.end(), c) == classes.end())
            classes.push_back(std::move(c));
    };
    if (row.size() > 1 && !row[1].isNull()) add(row[1].text());
    for (std::size_t k = 0;
         k < week::kMainSubjects && ranking::kFirstSubjectColumn + k < row.size(); ++k)
        for (auto& e : ranking::classListEntries(row[ranking::kFirstSubjectColumn + k]))
            add(std::move(e));
    return classes;
}

std::vector<Suggestion> findSuggestions(Store& store, std::string_view substitute,
                                        std::string_view weekdayText, int period) {
    std::vector<Suggestion> out;
    std::vector<Value> row;
    {
        auto rs = store.dkb("select * from 教师姓名");
        if (!rs.findName(substitute)) return out;
        for (int i = 0; i < rs.fieldCount(); ++i) row.push_back(rs[i]);
    }
    for (const auto& cls : taughtClasses(row)) {
        auto rs = store.dkb("select * from 需代课目情况 where 星期=? and 班级=? and 节次=?",
                            {weekdayValue(weekdayText), Value(cls), Value(period)});
        if (rs.empty()) continue;
        rs.moveFirst();
        out.push_back({rs[0].text(), rs[1].text(), rs[2].text(), rs[3].text(), rs[4].text(),
                       ranking::affinity(row, cls).letters});
    }
    return out;
}

void releaseHeldBack(Store& store) {
    store.transaction([&] {
        auto rs = store.dkb("select * from 任课情况 where 标记=?", {Value(1)});
        for (auto& row : rs)
            if (row["已代标记"].isNull()) row.set("标记", nullptr);
        rs.update();
    });
}

bool holdsAnotherDay(Store& store, std::optional<int> week, int weekday) {
    auto rs = store.dkb("select * from 当天代课记录");
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if ((week && leadingNumber(rs["周次"].text()) != *week) || rs["星期"].toDouble() != weekday)
            return true;
    }
    return false;
}

bool staleDayCheck(Store& store, std::optional<int> week, int weekday) {
    return store.transaction([&] {
        if (!holdsAnotherDay(store, week, weekday)) return false;
        newDay(store);
        return true;
    });
}

void queueLesson(Recordset& queue, Recordset& lessons) {
    queue.addNew();
    for (const char* column : {"姓名", "星期", "班级", "节次", "课目"})
        queue.set(column, lessons[column]);
}

std::string joinNames(const std::vector<std::string>& names) {
    std::string all;
    for (const auto& n : names) all += (all.empty() ? "" : "、") + n;
    return all;
}

}  // namespace daike::assignment

namespace daike::assignment {

Page pageAt(int rows, int offset) {
    Page p;
    if (offset < 0 || (offset > 0 && offset >= rows)) offset = 0;
    p.first = offset;
    p.count = std::max(0, std::min(kPageRows, rows - offset));
    p.previous = offset > 0;
    p.next = rows - offset > kPageRows;
    return p;
}

}  // namespace daike::assignment
