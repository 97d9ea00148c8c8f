#include "store/tables/daily_counts.h"

#include "store/schema.h"
#include "store/sql_text.h"
#include "store/store.h"

namespace daike::dailycounts {

namespace {

std::string columns() {
    std::string c = "姓名";
    for (int w = 1; w <= week::kDays; ++w) c += ", " + quoteIdentifier(schema::weekdayColumn(w));
    return c + ", 总和";
}

DailyCount rowOf(const std::vector<Value>& r) {
    DailyCount d;
    if (!r[0].isNull()) d.name = r[0].text();
    for (int w = 0; w < week::kDays; ++w)
        d.lessons[static_cast<std::size_t>(w)] = r[static_cast<std::size_t>(w + 1)].toDouble();
    d.total = r[week::kDays + 1].toDouble();
    return d;
}

}  // namespace

std::vector<DailyCount> all(Store& store) {
    std::vector<DailyCount> out;
    for (const auto& r : store.select("SELECT " + columns() + " FROM 每日节数表 ORDER BY rowid"))
        out.push_back(rowOf(r));
    return out;
}

std::optional<DailyCount> find(Store& store, std::string_view name) {
    const auto rows =
        store.select("SELECT " + columns() + " FROM 每日节数表 WHERE 姓名=? ORDER BY rowid LIMIT 1",
                     {Value(name)});
    if (rows.empty()) return std::nullopt;
    return rowOf(rows[0]);
}

void replaceAll(Store& store, const std::vector<DailyCount>& rows) {
    store.transaction([&] {
        store.emptyTable("每日节数表");
        std::string marks = "?";
        for (int w = 0; w <= week::kDays; ++w) marks += ", ?";
        const std::string sql = "INSERT INTO 每日节数表 (" + columns() + ") VALUES (" + marks + ")";
        for (const auto& d : rows) {
            std::vector<Value> v{d.name ? Value(*d.name) : Value()};
            for (double n : d.lessons) v.emplace_back(static_cast<std::int64_t>(n));
            v.emplace_back(static_cast<std::int64_t>(d.total));
            store.exec(sql, v);
        }
    });
}

}  // namespace daike::dailycounts
