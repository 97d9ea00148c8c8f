#include "engine/modification.h"

#include <algorithm>

#include "engine/assignment.h"
#include "engine/free_period_leave.h"
#include "store/schema.h"
#include "store/store.h"
#include "store/week.h"

namespace daike::modification {

namespace {

void addOnce(std::vector<std::string>& list, std::string name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(std::move(name));
}

std::vector<std::string> distinct(Store& store, const char* query, int field) {
    std::vector<std::string> out;
    auto rs = store.dkb(query);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) addOnce(out, rs[field].text());
    return out;
}

CoverRow rowOf(const Recordset& rs) {
    return {rs[0].text(),
            rs[1].text(),
            rs[2].text(),
            rs[3].text(),
            static_cast<int>(rs[4].toInt()),
            rs[5].text(),
            rs[6].text(),
            static_cast<int>(rs[7].toInt())};
}

std::vector<CoverRow> covers(Store& store, const char* query, std::string_view name) {
    std::vector<CoverRow> out;
    auto rs = store.dkb(query, {Value(name)});
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) out.push_back(rowOf(rs));
    return out;
}

// How the operator is told which cover a note is about.
std::string describe(const CoverRow& c) {
    return c.cls + "班" + week::periodName(c.period) + c.subject + "（" + c.substitute + "代" +
           c.absent + "）";
}

// Deletes the record of exactly this cover from a record table. The week, weekday, class and
// period find the candidates; the names and the subject tell two covers of one class in one
// period apart.
bool deleteRecord(Store& store, const char* table, const CoverRow& c) {
    auto rs =
        store.dkb(std::string("select * from ") + table + " where 星期=? and 班级=? and 节次=?",
                  {Value(c.weekday), Value(c.cls), Value(c.period)});
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (rs[3].text() != c.week || rs[0].text() != c.absent || rs[2].text() != c.substitute ||
            rs[6].text() != c.subject)
            continue;
        rs.remove();
        rs.update();
        return true;
    }
    return false;
}

// The absent teacher's lesson of the cover: of the teacher's lessons in that class and period,
// the one of the same subject that is marked covered, else the one of the same subject, else
// the first. Leaves the recordset on it; false when the teacher has no such lesson.
bool findLesson(Recordset& rs, const CoverRow& c) {
    for (int pass = 0; pass < 3; ++pass) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            const bool subject = rs["课目"].text() == c.subject;
            const bool covered = rs["已代标记"].toInt() == 1;
            if ((pass == 0 && subject && covered) || (pass == 1 && subject) || pass == 2)
                return true;
        }
    }
    return false;
}

Recordset lessonsOf(Store& store, const CoverRow& c) {
    return store.dkb("select * from 任课情况 where 姓名=? and 星期=? and 班级=? and 节次=?",
                     {Value(c.absent), Value(c.weekday), Value(c.cls), Value(c.period)});
}

}  // namespace

std::optional<Lists> prepare(Store& store) {
    const bool records = !store.dkb("select * from 当天代课记录").empty();
    bool away = false;
    {
        auto rs = store.dkb("select * from 代课教师");
        for (rs.moveFirst(); !rs.eof() && !away; rs.moveNext())
            for (int p = 0; p < week::kPeriods && !away; ++p) away = !rs[p].isNull();
    }
    if (!records && !away) return std::nullopt;

    Lists lists;
    lists.substitutes = distinct(store, "select * from 当天代课记录 order by 代者 asc", 2);
    lists.absent = distinct(store, "select * from 当天代课记录 order by 被代 asc", 0);
    std::vector<std::string> freeOnly;
    auto rs = store.dkb("select * from 代课教师");
    for (int p = 1; p <= week::kPeriods; ++p) {
        const int col = rs.fieldIndex(schema::periodColumn(p));
        const int flag = rs.fieldIndex(schema::leaveFlagColumn(p));
        for (rs.moveFirst(); !rs.eof() && !rs[col].isNull(); rs.moveNext())
            if (rs[flag].text() == "1") addOnce(freeOnly, rs[col].text());
    }
    for (auto& name : freeOnly) {
        const auto listed = [&](const std::vector<std::string>& l) {
            return std::find(l.begin(), l.end(), name) != l.end();
        };
        if (!listed(lists.substitutes) && !listed(lists.absent)) lists.absent.push_back(name);
    }
    return lists;
}

int weekdayOfRecords(Store& store, int currentWeekday) {
    auto rs = store.dkb("select * from 当天代课记录 ");
    if (rs.empty()) return currentWeekday;
    rs.moveFirst();
    const int recorded = static_cast<int>(rs["星期"].toInt());
    if (currentWeekday > week::kDays || currentWeekday != recorded) return recorded;
    return currentWeekday;
}

std::vector<CoverRow> coversBy(Store& store, std::string_view substitute) {
    return covers(store, "select * from 当天代课记录 where 代者=?", substitute);
}

std::vector<CoverRow> coversOf(Store& store, std::string_view absent) {
    return covers(store, "select * from 当天代课记录 where 被代=?", absent);
}

bool givesCover(Store& store, std::string_view substitute) {
    return !store.dkb("select * from 当天代课记录 where 代者=?", {Value(substitute)}).empty();
}

bool hasCover(Store& store, std::string_view absent) {
    return !store.dkb("select * from 当天代课记录 where 被代=?", {Value(absent)}).empty();
}

Outcome withdraw(Store& store, const CoverRow& c) {
    Outcome out;
    store.transaction([&] {
        if (!deleteRecord(store, "代课记录", c))
            out.notFound.push_back("学期代课记录中没有" + describe(c));
        deleteRecord(store, "临时代课记录", c);
        if (!deleteRecord(store, "当天代课记录", c))
            out.notFound.push_back("当天代课记录中没有" + describe(c));

        const std::string col = std::to_string(c.period);
        const std::vector<std::string> flag{col + col};
        if (!store.removePacked("代课教师", col, Value(c.substitute), flag))
            out.notFound.push_back("代课教师表第" + col + "节中没有" + c.substitute);
        store.removePacked("代课教师", col, Value(c.absent), flag);

        {
            auto rs = store.dkb("select * from 代课节数");
            if (!rs.findName(c.substitute)) {
                out.notFound.push_back("代课节数表中没有" + c.substitute + "的记录，节数未减");
            } else {
                if (rs["当日代课"].toDouble() > 0) rs.set("当日代课", rs["当日代课"].toInt() - 1);
                if (rs["学期代课"].toDouble() > 0) rs.set("学期代课", rs["学期代课"].toInt() - 1);
                rs.update();
            }
        }
        auto rs = lessonsOf(store, c);
        if (!findLesson(rs, c)) {
            out.notFound.push_back("任课情况中没有" + c.absent + "在" + c.cls + "班第" +
                                   std::to_string(c.period) + "节的课");
            return;
        }
        rs.set("标记", nullptr);
        rs.set("已代标记", nullptr);
        rs.update();
    });
    return out;
}

Outcome reassign(Store& store, const CoverRow& c) {
    Outcome out;
    store.transaction([&] {
        out = withdraw(store, c);
        leave::recordAway(store, c.absent, c.period, false);
        auto rs = lessonsOf(store, c);
        if (!findLesson(rs, c)) return;  // withdraw has said so
        rs.set("标记", 1);
        rs.update();
        auto queue = store.dkb("select * from 需代课目情况");
        assignment::queueLesson(queue, rs);
        queue.update();
    });
    return out;
}

void openQueuedForCover(Store& store, const std::vector<std::string>& teachers, int weekday) {
    store.transaction([&] {
        for (const auto& name : teachers) {
            auto rs = store.dkb("select * from 任课情况 where 姓名=? and 星期=?",
                                {Value(name), Value(weekday)});
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                const bool marked = rs["标记"].toInt() == 1;
                if (marked && rs["已代标记"].toInt() == 1) continue;
                rs.set("标记", marked ? Value() : Value(1));
            }
            rs.update();
        }
    });
}

}  // namespace daike::modification
