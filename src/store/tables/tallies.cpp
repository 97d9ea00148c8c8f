#include "store/tables/tallies.h"

#include "store/store.h"

namespace daike::tallies {

std::vector<Tally> all(Store& store) {
    std::vector<Tally> out;
    for (const auto& r :
         store.select("SELECT 姓名, 当日代课, 学期代课 FROM 代课节数 ORDER BY rowid"))
        out.push_back({r[0].text(), r[1].toDouble(), r[2].toDouble()});
    return out;
}

std::optional<Tally> find(Store& store, std::string_view name) {
    const auto rows = store.select(
        "SELECT 姓名, 当日代课, 学期代课 FROM 代课节数 WHERE 姓名=? ORDER BY rowid LIMIT 1",
        {Value(name)});
    if (rows.empty()) return std::nullopt;
    return Tally{rows[0][0].text(), rows[0][1].toDouble(), rows[0][2].toDouble()};
}

// Counts are whole numbers: a count typed in as 2.5 goes on from its whole part, as the office's
// forms did.
bool addToday(Store& store, std::string_view name) {
    return store.transaction([&] {
        auto rs = store.dkb("select * from 代课节数");
        if (!rs.findName(name)) return false;
        rs.set("当日代课", rs["当日代课"].toInt() + 1);
        rs.update();
        return true;
    });
}

bool addCover(Store& store, std::string_view name) {
    return store.transaction([&] {
        auto rs = store.dkb("select * from 代课节数");
        if (!rs.findName(name)) return false;
        rs.set("当日代课", rs["当日代课"].toInt() + 1);
        rs.set("学期代课", rs["学期代课"].toInt() + 1);
        rs.update();
        return true;
    });
}

bool addTermCover(Store& store, std::string_view name) {
    return store.transaction([&] {
        auto rs = store.dkb("select * from 代课节数");
        if (!rs.findName(name)) return false;
        rs.set("学期代课", rs["学期代课"].toInt() + 1);
        rs.update();
        return true;
    });
}

bool takeCover(Store& store, std::string_view name) {
    return store.transaction([&] {
        auto rs = store.dkb("select * from 代课节数");
        if (!rs.findName(name)) return false;
        if (rs["当日代课"].toDouble() > 0) rs.set("当日代课", rs["当日代课"].toInt() - 1);
        if (rs["学期代课"].toDouble() > 0) rs.set("学期代课", rs["学期代课"].toInt() - 1);
        rs.update();
        return true;
    });
}

bool takeTermCover(Store& store, std::string_view name) {
    return store.transaction([&] {
        auto rs = store.dkb("select * from 代课节数");
        if (!rs.findName(name)) return false;
        if (rs["学期代课"].toDouble() > 0) rs.set("学期代课", rs["学期代课"].toInt() - 1);
        rs.update();
        return true;
    });
}

void resetToday(Store& store) {
    store.exec("UPDATE 代课节数 SET 当日代课=0");
}

void rebuild(Store& store, const std::vector<std::optional<std::string>>& names) {
    store.transaction([&] {
        store.emptyTable("代课节数");
        for (const auto& n : names)
            store.exec("INSERT INTO 代课节数 (姓名, 当日代课, 学期代课) VALUES (?, 0, 0)",
                       {n ? Value(*n) : Value()});
    });
}

}  // namespace daike::tallies
