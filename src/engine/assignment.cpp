#include "engine/assignment.h"

#include <algorithm>

#include "engine/ranking.h"
#include "school/resets.h"
#include "store/store.h"

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
        lessons.push_back(std::move(l));
    }
    return lessons;
}

Grid gridOf(const std::vector<Lesson>& lessons) {
    Grid grid;
    for (const auto& l : lessons)
        if (l.period >= 1 && l.period <= 6) grid[static_cast<std::size_t>(l.period - 1)] = l;
    return grid;
}

bool dayFinished(const std::vector<Lesson>& lessons) {
    // A period counts once: when two lessons share it, the grid shows the later one.
    const auto grid = gridOf(lessons);
    return std::none_of(grid.begin(), grid.end(), [](const auto& l) { return l && !l->dealtWith; });
}

DayAtExit dayAtExit(const std::vector<Lesson>& lessons) {
    DayAtExit day;
    const auto grid = gridOf(lessons);
    for (std::size_t i = 0; i < grid.size(); ++i) {
        if (!grid[i]) continue;
        day.lesson[i] = !grid[i]->subject.empty();
        day.covered[i] = !grid[i]->cls.empty() && grid[i]->dealtWith;
    }
    return day;
}

int stepWeekday(int weekday, int delta) {
    if (delta > 0) return (weekday >= 1 && weekday < 5) ? weekday + 1 : 1;
    return (weekday > 1 && weekday <= 5) ? weekday - 1 : 5;
}

bool searchesForBetterLessons(std::string_view affinity) {
    return affinity.empty();
}

void recordCover(Store& store, const Cover& c, bool severalTeachers) {
    store.transaction([&] {
        if (severalTeachers) {
            auto rs = store.dkb("select * from 需代课目情况 where 星期=? and 班级=? and 节次=?",
                                {weekdayValue(c.weekdayText), Value(c.cls), Value(c.period)});
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
                rs.moveFirst();
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
    for (std::size_t k = 2; k <= 5 && k < row.size(); ++k)
        for (auto& e : ranking::classListEntries(row[k])) add(std::move(e));
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

bool holdsAnotherDay(Store& store, int week, int weekday) {
    auto rs = store.dkb("select * from 当天代课记录");
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (leadingNumber(rs["周次"].text()) != week || rs["星期"].toDouble() != weekday)
            return true;
    }
    return false;
}

bool staleDayCheck(Store& store, int week, int weekday) {
    return store.transaction([&] {
        if (!holdsAnotherDay(store, week, weekday)) return false;
        newDay(store);
        return true;
    });
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
