#include "invariants.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "store/schema.h"
#include "store/store.h"
#include "store/tables/queue.h"
#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike::invariants {

namespace {

struct Rule {
    const char* what;  // the rule, as a developer reads it in a failure
    const char* sql;   // the rows that break it
};

// The lesson of a cover record r in the timetable l.
#define SAME_LESSON                                                                                    \
    "l.姓名 = r.被代 AND l.星期 = r.星期 AND l.班级 = r.班级 AND l.节次 = r.节次 AND " \
    "l.课目 = r.课目"

// A swap of the term being worked (swaps of past terms are kept, with their own week numbers).
#define THIS_TERM "学期首日 = (SELECT 日期 FROM 开学第一天 LIMIT 1)"

const Rule kRules[] = {
    {"a cover of today stands for no lesson of its absent teacher",
     "SELECT r.被代, r.星期, r.班级, r.节次, r.课目 FROM 当天代课记录 r WHERE NOT EXISTS "
     "(SELECT 1 FROM 任课情况 l WHERE " SAME_LESSON ")"},
    {"today's covers are of more than one day",
     "SELECT DISTINCT CAST(周次 AS TEXT) || '/' || 星期 FROM 当天代课记录 WHERE (SELECT "
     "count(DISTINCT CAST(周次 AS TEXT) || '/' || 星期) FROM 当天代课记录) > 1"},
    {"a substitute covers twice in one period (term records)",
     "SELECT 代者, 周次, 星期, 节次, count(*) FROM 代课记录 GROUP BY 代者, CAST(周次 AS TEXT), "
     "星期, 节次 HAVING count(*) > 1"},
    {"a lesson is covered more often than the timetable holds it (term records)",
     "SELECT r.被代, r.周次, r.星期, r.班级, r.节次, r.课目, count(*) FROM 代课记录 r GROUP BY "
     "r.被代, CAST(r.周次 AS TEXT), r.星期, r.班级, r.节次, r.课目 HAVING count(*) > max(1, "
     "(SELECT count(*) FROM 任课情况 l WHERE " SAME_LESSON "))"},
    {"a cover of today has no record of the term",
     "SELECT r.被代, r.代者, r.班级, r.节次 FROM 当天代课记录 r WHERE (SELECT count(*) FROM "
     "当天代课记录 x WHERE x.被代 = r.被代 AND x.代者 = r.代者 AND CAST(x.周次 AS TEXT) = "
     "CAST(r.周次 AS TEXT) AND x.星期 = r.星期 AND x.班级 = r.班级 AND x.节次 = r.节次 AND x.课目 "
     "= r.课目) > (SELECT count(*) FROM 代课记录 t WHERE t.被代 = r.被代 AND t.代者 = r.代者 AND "
     "CAST(t.周次 AS TEXT) = CAST(r.周次 AS TEXT) AND t.星期 = r.星期 AND t.班级 = r.班级 AND "
     "t.节次 = r.节次 AND t.课目 = r.课目)"},
    {"a lesson marked covered has no cover record of today",
     "SELECT l.姓名, l.星期, l.班级, l.节次, l.课目 FROM 任课情况 l WHERE l.已代标记 = 1 AND NOT "
     "EXISTS (SELECT 1 FROM 当天代课记录 r WHERE " SAME_LESSON ")"},
    {"a lesson covered today is not marked covered",
     "SELECT r.被代, r.星期, r.班级, r.节次, r.课目 FROM 当天代课记录 r WHERE NOT EXISTS (SELECT "
     "1 FROM 任课情况 l WHERE " SAME_LESSON " AND l.已代标记 = 1 AND l.标记 = 1)"},
    {"a lesson is marked covered but not dealt with",
     "SELECT 姓名, 星期, 班级, 节次 FROM 任课情况 WHERE 已代标记 = 1 AND 标记 IS NOT 1"},
    {"a substitute of today is not booked in his period",
     "SELECT r.代者, r.节次 FROM 当天代课记录 r WHERE NOT EXISTS (SELECT 1 FROM 代课教师 a WHERE "
     "CASE r.节次 WHEN 1 THEN a.\"1\" WHEN 2 THEN a.\"2\" WHEN 3 THEN a.\"3\" WHEN 4 THEN a.\"4\" "
     "WHEN 5 THEN a.\"5\" WHEN 6 THEN a.\"6\" END = r.代者)"},
    {"a teacher covers a lesson in a period he is away",
     "SELECT r.代者, r.节次 FROM 当天代课记录 r WHERE EXISTS (SELECT 1 FROM 当天代课记录 o WHERE "
     "o.被代 = r.代者 AND o.节次 = r.节次)"},
    // A swap is no cover: its lesson is taught by the colleague and by nobody else.
    {"a swapped lesson is also covered (term records)",
     "SELECT w.教师1, w.周次1, w.星期1, w.班级, w.节次1 FROM 调课记录 w WHERE " THIS_TERM
     " AND EXISTS (SELECT 1 FROM 代课记录 r WHERE r.被代 = w.教师1 AND "
     "CAST(r.周次 AS TEXT) = CAST(w.周次1 AS TEXT) AND r.星期 = w.星期1 AND r.节次 = w.节次1 AND "
     "r.班级 = w.班级)"},
    {"a teacher takes two lessons in one slot by swaps, or one while covering",
     "SELECT t, wk, d, p, count(*) FROM (SELECT 教师2 AS t, 周次1 AS wk, 星期1 AS d, 节次1 AS p "
     "FROM "
     "调课记录 WHERE " THIS_TERM " UNION ALL SELECT 教师1, 周次2, 星期2, 节次2 FROM 调课记录 WHERE "
     "周次2 IS NOT NULL AND " THIS_TERM " UNION ALL SELECT 代者, CAST(周次 AS INTEGER), 星期, 节次 "
     "FROM 代课记录) GROUP BY t, wk, d, p "
     "HAVING count(*) > 1"},
    // What the substitutes were told belongs to the day being covered: told of another day, the
    // next text or print would offer the wrong changes.
    {"the substitutes were told of another day's cover",
     "SELECT DISTINCT CAST(t.周次 AS TEXT) || '/' || t.星期 FROM 已通知代课 t WHERE EXISTS (SELECT "
     "1 FROM 当天代课记录) AND NOT EXISTS (SELECT 1 FROM 当天代课记录 r WHERE CAST(r.周次 AS TEXT) "
     "= CAST(t.周次 AS TEXT) AND r.星期 = t.星期)"},
    // What the teachers of swaps were told is of one day, the one told last.
    {"the teachers of swaps were told of more than one day",
     "SELECT n FROM (SELECT count(DISTINCT CAST(周次 AS TEXT) || '/' || 星期) AS n "
     "FROM 已通知调课) WHERE n > 1"},
};

#undef SAME_LESSON
#undef THIS_TERM

// The tallies against the records: equal, or, once the operator reset the counts by hand
// (代课节数初始化 while records stand), never more than the records.
std::string tallyRule(const char* column, const char* records, bool countsReset) {
    const std::string counted =
        std::string("(SELECT count(*) FROM ") + records + " r WHERE r.代者 = t.姓名)";
    return std::string("SELECT t.姓名, t.") + column + ", " + counted +
           " FROM 代课节数 t WHERE t.rowid = (SELECT min(rowid) FROM 代课节数 x WHERE x.姓名 = "
           "t.姓名) AND t." +
           column + (countsReset ? " > " : " <> ") + counted;
}

QString rowsText(const std::vector<std::vector<std::optional<std::string>>>& rows) {
    QStringList out;
    for (const auto& row : rows) {
        QStringList cells;
        for (const auto& c : row)
            cells << (c ? QString::fromStdString(*c) : QStringLiteral("NULL"));
        out << cells.join('|');
        if (out.size() == 5) break;
    }
    if (rows.size() > 5) out << QStringLiteral("…(%1 rows)").arg(rows.size());
    return out.join("; ");
}

}  // namespace

// A teacher stands once in a period's column of 代课教师: away, or covering one lesson.
std::string twiceInAPeriod() {
    std::string sql;
    for (int p = 1; p <= week::kPeriods; ++p) {
        // Appended piece by piece: GCC 12 misreads a chain of + here as an overlapping copy.
        std::string c(1, '"');
        c.append(schema::periodColumn(p)).push_back('"');
        if (p > 1) sql.append(" UNION ALL ");
        sql.append("SELECT ").append(std::to_string(p)).append(", ").append(c);
        sql.append(", count(*) FROM 代课教师 WHERE ").append(c).append(" IS NOT NULL GROUP BY ");
        sql.append(c).append(" HAVING count(*) > 1");
    }
    return sql;
}

QStringList faults(Store& store, bool countsReset) {
    QStringList out;
    const auto check = [&](const char* what, const std::string& sql) {
        const auto rows = store.selectText(sql);
        if (!rows.empty()) out << QString::fromUtf8(what) + ": " + rowsText(rows);
    };
    for (const auto& rule : kRules) check(rule.what, rule.sql);
    check(countsReset ? "today's tally exceeds today's covers"
                      : "today's tally differs from today's covers",
          tallyRule("当日代课", "当天代课记录", countsReset));
    check(countsReset ? "the term's tally exceeds the term's covers"
                      : "the term's tally differs from the term's covers",
          tallyRule("学期代课", "代课记录", countsReset));
    check("a teacher stands twice in one period of 代课教师", twiceInAPeriod());
    return out;
}

QStringList windowFaults(Store& store, QWidget* mainWindow) {
    QStringList out;
    QWidget* form1 = nullptr;
    for (auto* w : mainWindow->findChildren<QWidget*>("Form1"))
        if (w->isWindow() && w->isVisible()) form1 = w;
    if (!form1) return out;
    auto* list = form1->findChild<QComboBox*>("Combo1");
    auto* weekdayBox = form1->findChild<QLineEdit*>("Text2");
    if (!list || !list->isVisible() || !weekdayBox) return out;  // one-teacher mode
    const int weekday = weekdayBox->text().toInt();
    const auto waits = [&](const TimetableRow& l) {
        return !queue::read(store, LessonFilter::of(l)).empty();
    };
    // Every teacher on the list has a lesson waiting: queued and not dealt with yet.
    for (int i = 0; i < list->count(); ++i) {
        LessonFilter day;
        day.teacher = list->itemText(i).toStdString();
        day.weekday = weekday;
        bool waiting = false;
        for (const auto& l : timetable::read(store, day))
            if (!l.dealtWith && waits(l)) waiting = true;
        if (!waiting)
            out << QStringLiteral("%1 is listed in Form1 with no lesson waiting")
                       .arg(list->itemText(i));
    }
    // The teacher whose day the grid shows.
    const QString loaded = list->currentText();
    if (loaded.isEmpty() || list->findText(loaded) < 0) return out;
    LessonFilter mine;
    mine.teacher = loaded.toStdString();
    mine.weekday = weekday;
    for (const auto& q : queue::read(store, mine)) {
        const int r = q.period - 1;
        auto* cls = form1->findChild<QLabel*>(QStringLiteral("Label13_%1").arg(r));
        auto* option = form1->findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(r));
        if (!cls || !option || !cls->text().contains(QString::fromStdString(q.cls))) continue;
        if (!option->isEnabled())
            out << QStringLiteral("a waiting lesson of %1 is not offered in Form1: period %2 %3")
                       .arg(loaded)
                       .arg(q.period)
                       .arg(QString::fromStdString(q.cls));
    }
    return out;
}

}  // namespace daike::invariants
