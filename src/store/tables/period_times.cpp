#include "store/tables/period_times.h"

#include "store/schema.h"
#include "store/sql_text.h"
#include "store/store.h"

namespace daike::periodtimes {

week::PerPeriod<StoredTimes> read(Store& store) {
    week::PerPeriod<StoredTimes> out{};
    const auto rows = store.select("SELECT * FROM 作息时间 ORDER BY rowid LIMIT 1");
    if (rows.empty()) return out;
    const auto& row = rows[0];
    for (int p = 1; p <= week::kPeriods; ++p) {
        const auto i = static_cast<std::size_t>(2 * (p - 1));
        if (i + 1 >= row.size()) break;
        out[static_cast<std::size_t>(p - 1)] = {row[i].text(), row[i + 1].text()};
    }
    return out;
}

void write(Store& store, const week::PerPeriod<StoredTimes>& times) {
    std::string columns, marks;
    std::vector<Value> values;
    for (int p = 1; p <= week::kPeriods; ++p) {
        const auto& t = times[static_cast<std::size_t>(p - 1)];
        for (const auto& [column, text] : {std::pair{schema::periodStartColumn(p), t.start},
                                           std::pair{schema::periodEndColumn(p), t.end}}) {
            columns += (columns.empty() ? "" : ", ") + quoteIdentifier(column);
            marks += marks.empty() ? "?" : ", ?";
            values.push_back(text.empty() ? Value() : Value(text));
        }
    }
    store.transaction([&] {
        store.emptyTable("作息时间");
        store.exec("INSERT INTO 作息时间 (" + columns + ") VALUES (" + marks + ")", values);
    });
}

}  // namespace daike::periodtimes
