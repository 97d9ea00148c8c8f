#include "store/tables/queue.h"

#include "store/store.h"
#include "store/tables/where.h"

namespace daike::queue {

std::vector<QueuedLesson> read(Store& store, const LessonFilter& f) {
    const Where w = Where::lesson(f);
    std::vector<QueuedLesson> out;
    for (const auto& r : store.select(
             "SELECT 姓名, 星期, 班级, 节次, 课目 FROM 需代课目情况" + w.sql() + " ORDER BY rowid",
             w.values()))
        out.push_back({r[0].text(), static_cast<int>(r[1].toInt()), r[2].text(),
                       static_cast<int>(r[3].toInt()), r[4].text()});
    return out;
}

void add(Store& store, const QueuedLesson& l) {
    store.exec(
        "INSERT INTO 需代课目情况 (姓名, 星期, 班级, 节次, 课目) VALUES (?, ?, ?, ?, ?)",
        {Value(l.teacher), Value(l.weekday), Value(l.cls), Value(l.period), Value(l.subject)});
}

bool removeOne(Store& store, const QueuedLesson& l) {
    return store.exec(
               "DELETE FROM 需代课目情况 WHERE rowid = (SELECT rowid FROM 需代课目情况 "
               "WHERE 姓名=? AND 星期=? AND 班级=? AND 节次=? AND 课目=? ORDER BY rowid "
               "LIMIT 1)",
               {Value(l.teacher), Value(l.weekday), Value(l.cls), Value(l.period),
                Value(l.subject)}) > 0;
}

void clear(Store& store) {
    store.emptyTable("需代课目情况");
}

}  // namespace daike::queue
