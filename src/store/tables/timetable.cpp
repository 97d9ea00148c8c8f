#include "store/tables/timetable.h"

#include "store/store.h"
#include "store/tables/where.h"
#include "store/week.h"

namespace daike::timetable {

namespace {

constexpr const char* kSelect =
    "SELECT rowid, 姓名, 星期, 班级, 节次, 课目, 标记, 已代标记 FROM 任课情况";

TimetableRow rowOf(const std::vector<Value>& r) {
    TimetableRow l;
    l.row = r[0].toInt();
    l.teacher = r[1].text();
    l.weekday = static_cast<int>(r[2].toInt());
    l.cls = r[3].text();
    l.period = static_cast<int>(r[4].toInt());
    l.subject = r[5].text();
    l.dealtWith = r[6].toInt() == 1;
    l.covered = r[7].toInt() == 1;
    l.onGrid = r[2].isInteger() && r[4].isInteger() && week::isWeekday(r[2].toInt()) &&
               week::isPeriod(r[4].toInt());
    return l;
}

std::vector<TimetableRow> query(Store& store, const std::string& sql,
                                const std::vector<Value>& values) {
    std::vector<TimetableRow> out;
    for (const auto& r : store.select(sql, values)) out.push_back(rowOf(r));
    return out;
}

Value mark(bool set) {
    return set ? Value(1) : Value();
}

}  // namespace

std::vector<TimetableRow> read(Store& store, const LessonFilter& filter) {
    const Where w = Where::lesson(filter);
    return query(store, kSelect + w.sql() + " ORDER BY rowid", w.values());
}

std::vector<TimetableRow> byPeriod(Store& store, const LessonFilter& filter) {
    const Where w = Where::lesson(filter);
    return query(store, kSelect + w.sql() + " ORDER BY 节次, rowid", w.values());
}

bool any(Store& store, const LessonFilter& filter) {
    const Where w = Where::lesson(filter);
    return !store.select("SELECT 1 FROM 任课情况" + w.sql() + " LIMIT 1", w.values()).empty();
}

std::vector<TimetableRow> heldBack(Store& store) {
    return query(store, std::string(kSelect) + " WHERE 标记=1 AND 已代标记 IS NULL ORDER BY rowid",
                 {});
}

std::vector<TimetableRow> marked(Store& store) {
    return query(store, std::string(kSelect) + " WHERE 标记=1 OR 已代标记=1 ORDER BY rowid", {});
}

std::unordered_map<std::string, week::PerDay<std::int64_t>> lessonsPerWeekday(Store& store) {
    std::unordered_map<std::string, week::PerDay<std::int64_t>> counts;
    for (const auto& r : store.select("SELECT 姓名, 星期 FROM 任课情况 ORDER BY rowid")) {
        const Value& name = r[0];
        const Value& day = r[1];
        if (name.isNull() || day.isNull() || day.isText()) continue;
        const double d = day.toDouble();
        if (d != static_cast<double>(static_cast<int>(d)) || !week::isWeekday(static_cast<long>(d)))
            continue;
        counts[name.text()][static_cast<std::size_t>(d) - 1] += 1;
    }
    return counts;
}

std::int64_t add(Store& store, const TimetableRow& l) {
    store.exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES (?, ?, ?, ?, ?)",
        {Value(l.teacher), Value(l.weekday), Value(l.cls), Value(l.period), Value(l.subject)});
    return store.select("SELECT last_insert_rowid()")[0][0].toInt();
}

void replaceAll(Store& store, const std::vector<TimetableRow>& lessons) {
    store.transaction([&] {
        store.emptyTable("任课情况");
        for (const auto& l : lessons)
            store.exec(
                "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目, 标记, 已代标记) VALUES (?, ?, "
                "?, ?, ?, ?, ?)",
                {Value(l.teacher), Value(l.weekday), Value(l.cls), Value(l.period),
                 Value(l.subject), mark(l.dealtWith), mark(l.covered)});
    });
}

void remove(Store& store, std::int64_t row) {
    store.exec("DELETE FROM 任课情况 WHERE rowid=?", {Value(row)});
}

void setMarks(Store& store, std::int64_t row, bool dealtWith, bool covered) {
    store.exec("UPDATE 任课情况 SET 标记=?, 已代标记=? WHERE rowid=?",
               {mark(dealtWith), mark(covered), Value(row)});
}

void setDealtWith(Store& store, std::int64_t row, bool dealtWith) {
    store.exec("UPDATE 任课情况 SET 标记=? WHERE rowid=?", {mark(dealtWith), Value(row)});
}

void releaseHeldBack(Store& store) {
    store.exec("UPDATE 任课情况 SET 标记=NULL WHERE 标记=1 AND 已代标记 IS NULL");
}

void clearMarks(Store& store) {
    store.exec(
        "UPDATE 任课情况 SET 标记=NULL, 已代标记=NULL WHERE 标记 IS NOT NULL OR 已代标记 IS NOT "
        "NULL");
}

}  // namespace daike::timetable
