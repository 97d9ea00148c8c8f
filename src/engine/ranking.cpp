#include "engine/ranking.h"

#include <unordered_map>
#include <unordered_set>

#include "basedata/class_list.h"
#include "store/schema.h"
#include "store/store.h"
#include "store/week.h"

namespace daike::ranking {

std::vector<std::string> classListEntries(const Value& list) {
    if (list.isNull()) return {};
    return classlist::entries(list.text());
}

bool classListContains(const Value& list, std::string_view cls) {
    return !list.isNull() && classlist::contains(list.text(), cls);
}

Affinity affinity(const std::vector<Value>& t, std::string_view cls) {
    Affinity a;
    const bool head = t.size() > 1 && !t[1].isNull() && t[1].text() == cls;
    if (head) {
        a.letters = "班";
        a.mark = 2;
    }
    for (std::size_t k = 0;
         k < week::kMainSubjectLetters.size() && kFirstSubjectColumn + k < t.size(); ++k) {
        if (classListContains(t[kFirstSubjectColumn + k], cls)) {
            a.letters += week::kMainSubjectLetters[k];
            if (!head) a.mark = 1;
        }
    }
    return a;
}

namespace {

// Position of a column in a table of the layout, or -1.
int columnOf(std::string_view table, std::string_view column) {
    const auto* t = schema::find(table);
    for (std::size_t i = 0; i < t->columns.size(); ++i)
        if (t->columns[i].name == column) return static_cast<int>(i);
    return -1;
}

}  // namespace

std::vector<std::string> eligibleTeachers(Store& store, std::string_view weekdayText, int period) {
    const int weekday = weekdayText.size() == 1 ? weekdayText[0] - '0' : 0;
    const std::string slot = schema::slotColumn(weekday, period);
    const std::string periodColumn = schema::periodColumn(period);
    return store.transaction([&] {
        store.emptyTable("可代教师");
        std::vector<std::string> names;
        // A weekday or period outside the week (a weekend day chosen by hand) has no slot:
        // nobody is free then.
        const int col = columnOf("空课教师表", slot);
        if (col < 0 || weekdayText.size() != 1 || !week::isPeriod(period)) return names;
        std::unordered_set<std::string> exempt, busy;
        {
            for (const auto& name : store.dkb("select * from 公出表").column(0))
                if (!name.isNull()) exempt.insert(name.text());
        }
        {
            auto rs = store.dkb("select * from 代课教师");
            const int away = rs.fieldIndex(periodColumn);
            for (rs.moveFirst(); !rs.eof(); rs.moveNext())
                if (!rs[away].isNull()) busy.insert(rs[away].text());
        }
        auto freeList = store.dkb("select * from 空课教师表");
        auto eligible = store.dkb("select * from 可代教师");
        for (freeList.moveFirst(); !freeList.eof(); freeList.moveNext()) {
            const Value& cell = freeList[col];
            if (cell.isNull() || cell.text() == "0") break;
            const std::string n = cell.text();
            if (exempt.count(n) || busy.count(n)) continue;
            eligible.addNew();
            eligible.set(0, n);
            names.push_back(n);
        }
        eligible.update();
        return names;
    });
}

namespace {

// The first row of each teacher in a table keyed by 姓名, as a forward find from the first row
// would reach it.
std::unordered_map<std::string, std::vector<Value>> rowsByName(Store& store, const char* query) {
    std::unordered_map<std::string, std::vector<Value>> out;
    auto rs = store.dkb(query);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (rs[0].isNull()) continue;
        std::vector<Value> row;
        for (int i = 0; i < rs.fieldCount(); ++i) row.push_back(rs[i]);
        out.emplace(rs[0].text(), std::move(row));
    }
    return out;
}

Candidate candidateOf(const Recordset& rs) {
    return {rs[0].text(), rs[1].text(), rs[2], rs[3], rs[4].text(), rs[5]};
}

}  // namespace

Result rank(Store& store, std::string_view weekdayText, int period, std::string_view cls) {
    return store.transaction([&] {
        Result result;
        store.emptyTable("临时运算表");
        const auto names = eligibleTeachers(store, weekdayText, period);
        if (names.empty()) return result;

        const auto teachers = rowsByName(store, "select * from 教师姓名");
        const auto daily = rowsByName(store, "select * from 每日节数表");
        const auto tallies = rowsByName(store, "select * from 代课节数");
        // Teachers with a lesson in the period just before (none before period 1).
        std::unordered_set<std::string> teachingBefore;
        {
            auto rs = store.dkb(
                "select * from 任课情况 where 星期=? and 节次=?",
                {Value(static_cast<std::int64_t>(leadingNumber(weekdayText))), Value(period - 1)});
            for (auto& name : rs.columnText(0)) teachingBefore.insert(std::move(name));
        }
        const int dayColumn = columnOf("每日节数表", weekdayText);

        auto work = store.dkb("select * from 临时运算表");
        for (const auto& n : names) {
            bool lacking = false;
            Affinity a;
            if (auto t = teachers.find(n); t != teachers.end())
                a = affinity(t->second, cls);
            else
                lacking = true;
            double lessons = 0, today = 0, term = 0;
            if (auto d = daily.find(n); d != daily.end())
                lessons = d->second[static_cast<std::size_t>(dayColumn)].toDouble();
            else
                lacking = true;
            if (auto c = tallies.find(n); c != tallies.end()) {
                today = c->second[1].toDouble();
                term = c->second[2].toDouble();
            } else {
                lacking = true;
            }
            if (lacking) result.missing.push_back(n);

            work.addNew();
            work.set("姓名", n);
            work.set("任课情况", a.letters);
            if (a.mark) work.set("班幅标记", a.mark);
            work.set("本日节数", lessons + today);
            work.set("本日代课", today);
            work.set("连课情况", teachingBefore.count(n) ? "是" : "否");
            work.set("总节数", term);
        }
        work.update();
        result.rows = rankedRows(store);
        return result;
    });
}

std::vector<Candidate> rankedRows(Store& store) {
    std::vector<Candidate> rows;
    auto rs = store.dkb(kRankingQuery);
    for (const auto& row : rs) rows.push_back(candidateOf(row));
    return rows;
}

}  // namespace daike::ranking
