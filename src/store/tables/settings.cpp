#include "store/tables/settings.h"

#include "store/store.h"
#include "store/text.h"

namespace daike::settings {

namespace {

// The first row's rowid of a single-row table, or none.
std::optional<std::int64_t> firstRow(Store& store, const char* table) {
    const auto rows =
        store.select(std::string("SELECT rowid FROM ") + table + " ORDER BY rowid LIMIT 1");
    if (rows.empty()) return std::nullopt;
    return rows[0][0].toInt();
}

}  // namespace

Value password(Store& store) {
    const auto rows = store.select("SELECT 密码 FROM 注册码 ORDER BY rowid LIMIT 1");
    return rows.empty() ? Value() : rows[0][0];
}

void setPassword(Store& store, const std::string& password) {
    store.transaction([&] {
        if (auto row = firstRow(store, "注册码"))
            store.exec("UPDATE 注册码 SET 密码=? WHERE rowid=?", {Value(password), Value(*row)});
        else
            store.exec("INSERT INTO 注册码 (密码) VALUES (?)", {Value(password)});
    });
}

std::string schoolName(Store& store) {
    const auto rows = store.select("SELECT 单位 FROM 注册码 ORDER BY rowid LIMIT 1");
    return rows.empty() || rows[0][0].isBlank() ? std::string()
                                                : std::string(text::trimmed(rows[0][0].text()));
}

void setSchoolName(Store& store, const std::string& name) {
    const std::string t(text::trimmed(name));
    const Value v = t.empty() ? Value() : Value(t);
    store.transaction([&] {
        if (auto row = firstRow(store, "注册码"))
            store.exec("UPDATE 注册码 SET 单位=? WHERE rowid=?", {v, Value(*row)});
        else
            store.exec("INSERT INTO 注册码 (单位) VALUES (?)", {v});
    });
}

std::optional<std::string> termStart(Store& store) {
    const auto rows = store.select("SELECT 日期 FROM 开学第一天 ORDER BY rowid LIMIT 1");
    if (rows.empty()) return std::nullopt;
    return rows[0][0].text();
}

void setTermStart(Store& store, const std::string& text) {
    store.transaction([&] {
        if (auto row = firstRow(store, "开学第一天"))
            store.exec("UPDATE 开学第一天 SET 日期=? WHERE rowid=?", {Value(text), Value(*row)});
        else
            store.exec("INSERT INTO 开学第一天 (日期) VALUES (?)", {Value(text)});
    });
}

void replaceTermStart(Store& store, const std::string& text) {
    store.transaction([&] {
        store.emptyTable("开学第一天");
        store.exec("INSERT INTO 开学第一天 (日期) VALUES (?)", {Value(text)});
    });
}

std::optional<double> payRate(Store& store) {
    for (const auto& r : store.select("SELECT 每节金额 FROM 代课酬金 ORDER BY rowid"))
        if (!r[0].isBlank()) return r[0].toDouble();
    return std::nullopt;
}

void setPayRate(Store& store, std::optional<double> rate) {
    store.transaction([&] {
        store.emptyTable("代课酬金");
        if (rate) store.exec("INSERT INTO 代课酬金 (每节金额) VALUES (?)", {Value(*rate)});
    });
}

std::vector<std::pair<std::string, double>> kindRates(Store& store) {
    std::vector<std::pair<std::string, double>> out;
    for (auto& r : store.select("SELECT 类别, 每节金额 FROM 代课费标准 ORDER BY rowid"))
        if (!r[0].isBlank() && !r[1].isBlank()) out.emplace_back(r[0].takeText(), r[1].toDouble());
    return out;
}

void setKindRates(Store& store, const std::vector<std::pair<std::string, double>>& rates) {
    store.transaction([&] {
        store.emptyTable("代课费标准");
        for (const auto& [kind, rate] : rates)
            store.exec("INSERT INTO 代课费标准 (类别, 每节金额) VALUES (?, ?)",
                       {Value(kind), Value(rate)});
    });
}

}  // namespace daike::settings
