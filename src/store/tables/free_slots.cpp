#include "store/tables/free_slots.h"

#include "store/schema.h"
#include "store/sql_text.h"
#include "store/store.h"

namespace daike::freeslots {

std::vector<std::string> freeIn(Store& store, int weekday, int period) {
    std::vector<std::string> out;
    if (!week::isWeekday(weekday) || !week::isPeriod(period)) return out;
    const auto rows =
        store.select("SELECT " + quoteIdentifier(schema::slotColumn(weekday, period)) +
                     " FROM 空课教师表 ORDER BY rowid");
    for (const auto& r : rows) {
        if (r[0].isNull() || r[0].text() == "0") break;
        out.push_back(r[0].text());
    }
    return out;
}

void replaceAll(Store& store, const std::vector<week::PerSlot<Value>>& rows) {
    store.transaction([&] {
        store.emptyTable("空课教师表");
        std::string columns, marks;
        for (int k = 0; k < week::kSlots; ++k) {
            columns += (k ? ", " : "") + quoteIdentifier(schema::slotColumn(week::weekdayOfSlot(k),
                                                                            week::periodOfSlot(k)));
            marks += k ? ", ?" : "?";
        }
        const std::string sql = "INSERT INTO 空课教师表 (" + columns + ") VALUES (" + marks + ")";
        for (const auto& cells : rows) store.exec(sql, {cells.begin(), cells.end()});
    });
}

}  // namespace daike::freeslots
