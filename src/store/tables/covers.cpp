#include "store/tables/covers.h"

#include "store/store.h"
#include "store/tables/where.h"

namespace daike::covers {

namespace {

const char* tableName(CoverTable t) {
    switch (t) {
        case CoverTable::Session:
            return "临时代课记录";
        case CoverTable::Term:
            return "代课记录";
        case CoverTable::Today:
            return "当天代课记录";
        case CoverTable::Told:
            return "已通知代课";
    }
    return "";
}

constexpr const char* kColumns = "被代, 性质, 代者, 周次, 星期, 班级, 课目, 节次";

CoverRecord recordOf(std::vector<Value>& r) {
    return {r[0].takeText(),
            r[1].takeText(),
            r[2].takeText(),
            r[3].takeText(),
            static_cast<int>(r[4].toInt()),
            r[5].takeText(),
            r[6].takeText(),
            static_cast<int>(r[7].toInt())};
}

Where whereOf(const CoverFilter& f) {
    Where w;
    w.add("被代", f.absent).add("代者", f.substitute).place(f).add("周次", f.week);
    return w;
}

std::vector<CoverRecord> query(Store& store, CoverTable t, const Where& w, const char* order) {
    std::vector<CoverRecord> out;
    auto rows = store.select(std::string("SELECT ") + kColumns + ", rowid FROM " + tableName(t) +
                                 w.sql() + " ORDER BY " + order,
                             w.values());
    out.reserve(rows.size());
    for (auto& r : rows) out.push_back(recordOf(r));
    return out;
}

}  // namespace

std::vector<CoverRecord> read(Store& store, CoverTable table, const CoverFilter& filter) {
    return query(store, table, whereOf(filter), "rowid");
}

bool any(Store& store, CoverTable table, const CoverFilter& filter) {
    const Where w = whereOf(filter);
    return !store
                .select(std::string("SELECT 1 FROM ") + tableName(table) + w.sql() + " LIMIT 1",
                        w.values())
                .empty();
}

// Names sort in the Chinese collation of their column; a tie keeps the order of recording.
std::vector<CoverRecord> bySubstitute(Store& store, CoverTable table) {
    return query(store, table, {}, "代者 ASC, rowid");
}

std::vector<CoverRecord> byAbsent(Store& store, CoverTable table) {
    return query(store, table, {}, "被代 ASC, rowid");
}

void append(Store& store, CoverTable table, const CoverRecord& c) {
    store.exec(std::string("INSERT INTO ") + tableName(table) + " (" + kColumns +
                   ") VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
               {Value(c.absent), Value(c.reason), Value(c.substitute), Value(c.week),
                Value(c.weekday), Value(c.cls), Value(c.subject), Value(c.period)});
}

void appendEverywhere(Store& store, const CoverRecord& record) {
    store.transaction([&] {
        append(store, CoverTable::Session, record);
        append(store, CoverTable::Term, record);
        append(store, CoverTable::Today, record);
    });
}

namespace {

// The rowid of the first record of this cover. The weekday, class and period find the
// candidates; the week (as shown when recorded), the names and the subject tell two covers of one
// class in one period apart, and the reason too when `sameReason`. Texts compare as shown, a
// Null as the empty text.
std::optional<Value> findOne(Store& store, CoverTable table, const CoverRecord& c,
                             bool sameReason) {
    const auto rows =
        store.select(std::string("SELECT ") + kColumns + ", rowid FROM " + tableName(table) +
                         " WHERE 星期=? AND 班级=? AND 节次=? ORDER BY rowid",
                     {Value(c.weekday), Value(c.cls), Value(c.period)});
    for (const auto& r : rows) {
        if (r[3].text() == c.week && r[0].text() == c.absent && r[2].text() == c.substitute &&
            r[6].text() == c.subject && (!sameReason || r[1].text() == c.reason))
            return r[8];
    }
    return std::nullopt;
}

}  // namespace

bool removeOne(Store& store, CoverTable table, const CoverRecord& c) {
    const auto row = findOne(store, table, c, false);
    if (!row) return false;
    store.exec(std::string("DELETE FROM ") + tableName(table) + " WHERE rowid=?", {*row});
    return true;
}

bool changeReason(Store& store, CoverTable table, const CoverRecord& c, const std::string& reason) {
    const auto row = findOne(store, table, c, true);
    if (!row) return false;
    store.exec(std::string("UPDATE ") + tableName(table) + " SET 性质=? WHERE rowid=?",
               {Value(reason), *row});
    return true;
}

void clear(Store& store, CoverTable table) {
    store.emptyTable(tableName(table));
}

void replace(Store& store, CoverTable table, const std::vector<CoverRecord>& records) {
    store.transaction([&] {
        store.emptyTable(tableName(table));
        for (const auto& r : records) append(store, table, r);
    });
}

}  // namespace daike::covers
