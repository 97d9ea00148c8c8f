#include "store/tables/cover_rules.h"

#include "store/store.h"

namespace daike::coverrules {

namespace {

Value limitValue(const std::optional<int>& limit) {
    return limit ? Value(*limit) : Value();
}

}  // namespace

StoredRules read(Store& store) {
    StoredRules out;
    const auto rows = store.select(
        "SELECT 每日上限, 每周上限, 允许连堂, 均衡安排 FROM 代课规则 ORDER BY rowid LIMIT 1");
    if (rows.empty()) return out;
    const auto& row = rows[0];
    if (!row[0].isBlank()) out.perDay = static_cast<int>(row[0].toInt());
    if (!row[1].isBlank()) out.perWeek = static_cast<int>(row[1].toInt());
    if (!row[2].isBlank()) out.inARow = row[2].toInt() != 0;
    if (!row[3].isBlank()) out.balanced = row[3].toInt() != 0;
    return out;
}

void write(Store& store, const StoredRules& rules) {
    store.transaction([&] {
        store.emptyTable("代课规则");
        store.exec(
            "INSERT INTO 代课规则 (每日上限, 每周上限, 允许连堂, 均衡安排) VALUES (?, ?, ?, ?)",
            {limitValue(rules.perDay), limitValue(rules.perWeek), Value(rules.inARow ? 1 : 0),
             Value(rules.balanced ? 1 : 0)});
    });
}

}  // namespace daike::coverrules
