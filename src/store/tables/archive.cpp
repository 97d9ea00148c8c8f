#include "store/tables/archive.h"

#include "store/store.h"

namespace daike::archive {

namespace {

constexpr const char* kColumns =
    "学期, 学期首日, 被代, 性质, 代者, 周次, 星期, 班级, 课目, 节次, 日期";

ArchivedCover coverOf(std::vector<Value>& r) {
    ArchivedCover a;
    a.term = r[0].takeText();
    a.termStart = r[1].takeText();
    a.record = {r[2].takeText(),
                r[3].takeText(),
                r[4].takeText(),
                r[5].takeText(),
                static_cast<int>(r[6].toInt()),
                r[7].takeText(),
                r[8].takeText(),
                static_cast<int>(r[9].toInt())};
    a.date = r[10].takeText();
    return a;
}

std::vector<ArchivedCover> query(Store& store, const std::string& tail,
                                 const std::vector<Value>& values) {
    std::vector<ArchivedCover> out;
    auto rows = store.select(std::string("SELECT ") + kColumns + " FROM 代课存档" + tail, values);
    out.reserve(rows.size());
    for (auto& r : rows) out.push_back(coverOf(r));
    return out;
}

Value textOrNull(const std::string& s) {
    return s.empty() ? Value() : Value(s);
}

}  // namespace

void keep(Store& store, const std::vector<ArchivedCover>& covers) {
    store.transaction([&] {
        for (const auto& a : covers) {
            const auto& r = a.record;
            store.exec(std::string("INSERT INTO 代课存档 (") + kColumns +
                           ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       {Value(a.term), textOrNull(a.termStart), Value(r.absent), Value(r.reason),
                        Value(r.substitute), Value(r.week), Value(r.weekday), Value(r.cls),
                        Value(r.subject), Value(r.period), textOrNull(a.date)});
        }
    });
}

std::vector<ArchivedCover> all(Store& store) {
    return query(store, " ORDER BY rowid", {});
}

std::vector<ArchivedCover> between(Store& store, const std::string& from, const std::string& to) {
    // ISO dates compare as text; undated records fall outside every range.
    return query(store, " WHERE 日期 >= ? AND 日期 <= ? ORDER BY 日期, rowid",
                 {Value(from), Value(to)});
}

std::vector<std::string> terms(Store& store) {
    std::vector<std::string> out;
    for (auto& r : store.select("SELECT 学期 FROM 代课存档 GROUP BY 学期 ORDER BY min(rowid)"))
        out.push_back(r[0].takeText());
    return out;
}

std::vector<ArchivedCover> ofTerm(Store& store, const std::string& term) {
    return query(store, " WHERE 学期 = ? ORDER BY rowid", {Value(term)});
}

std::size_t count(Store& store) {
    return static_cast<std::size_t>(store.select("SELECT count(*) FROM 代课存档")[0][0].toInt());
}

std::vector<std::string> months(Store& store) {
    std::vector<std::string> out;
    for (auto& r : store.select("SELECT DISTINCT substr(日期, 1, 7) AS m FROM 代课存档 WHERE 日期 "
                                "IS NOT NULL ORDER BY m"))
        out.push_back(r[0].takeText());
    return out;
}

void clear(Store& store) {
    store.emptyTable("代课存档");
}

}  // namespace daike::archive
