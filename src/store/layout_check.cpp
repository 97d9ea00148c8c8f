#include "store/layout_check.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "store/schema.h"
#include "store/sql_text.h"
#include "store/store.h"

namespace daike {

namespace {

// SQLite keeps a CREATE statement as it was written, less its IF NOT EXISTS.
std::string asStored(std::string sql) {
    const std::string clause = "IF NOT EXISTS ";
    if (auto at = sql.find(clause); at != std::string::npos) sql.erase(at, clause.size());
    return sql;
}

// The first quoted identifier from `from` on, unquoted.
std::string quotedName(const std::string& sql, std::size_t from) {
    const auto open = sql.find('"', from);
    std::string name;
    if (open == std::string::npos) return name;
    for (auto i = open + 1; i < sql.size(); ++i) {
        if (sql[i] != '"') {
            name += sql[i];
        } else if (i + 1 < sql.size() && sql[i + 1] == '"') {
            name += '"';
            ++i;
        } else {
            break;
        }
    }
    return name;
}

struct Expected {
    const schema::Table* table = nullptr;  // null for an index
    std::string sql;
};

// Every object of the layout by name, as SQLite stores it.
std::map<std::string, Expected> expectedObjects(int version) {
    std::map<std::string, Expected> out;
    const auto statements = schema::createStatements();
    const auto& tables = schema::tables();
    for (std::size_t i = 0; i < statements.size(); ++i) {
        const auto sql = asStored(statements[i]);
        if (i < tables.size()) {
            // 代课酬金 came with layout 2,
            if (version < 2 && tables[i].name == schema::代课酬金) continue;
            // 作息时间 and 已通知代课 with layout 3,
            if (version < 3 &&
                (tables[i].name == schema::作息时间 || tables[i].name == schema::已通知代课))
                continue;
            // 代课规则 with layout 4,
            if (version < 4 && tables[i].name == schema::代课规则) continue;
            // 程序版本 with layout 5,
            if (version < 5 && tables[i].name == schema::程序版本) continue;
            // 代课存档, 代课费标准 and 修改记录 with layout 6,
            if (version < 6 &&  // not the week
                (tables[i].name == schema::代课存档 || tables[i].name == schema::代课费标准 ||
                 tables[i].name == schema::修改记录))
                continue;
            // 调课记录, 调课设置 and 已通知调课 with layout 7.
            if (version < 7 &&  // not the week
                (tables[i].name == schema::调课记录 || tables[i].name == schema::调课设置 ||
                 tables[i].name == schema::已通知调课))
                continue;
            out[tables[i].name] = {&tables[i], sql};
        } else {
            out[quotedName(sql, 0)] = {nullptr, sql};
        }
    }
    return out;
}

std::string kindWord(const std::string& type) {
    if (type == "table") return "表";
    if (type == "index") return "索引";
    if (type == "view") return "视图";
    if (type == "trigger") return "触发器";
    return "对象";
}

std::string q(const std::string& s) {
    return "“" + s + "”";
}

void compareColumns(Store& store, const schema::Table& t, std::vector<std::string>& found) {
    std::vector<std::string> names, types;
    for (auto& row : store.select("PRAGMA table_info(" + quoteIdentifier(t.name) + ")")) {
        names.push_back(row[1].text());
        types.push_back(row[2].text());
    }
    const auto where = "表" + q(t.name);
    const std::size_t before = found.size();
    for (const auto& c : t.columns)
        if (std::find(names.begin(), names.end(), c.name) == names.end())
            found.push_back(where + "缺少列" + q(c.name));
    for (const auto& n : names)
        if (std::none_of(t.columns.begin(), t.columns.end(),
                         [&](const schema::Column& c) { return c.name == n; }))
            found.push_back(where + "多出列" + q(n));
    if (found.size() > before) return;
    // The same columns: the cover logic reads several tables by position, so order counts.
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] != t.columns[i].name) {
            found.push_back(where + "的列顺序不同：第 " + std::to_string(i + 1) + " 列应为" +
                            q(t.columns[i].name) + "，文件中是" + q(names[i]));
            return;
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (types[i] != t.columns[i].type)
            found.push_back(where + "的列" + q(names[i]) + "类型是" +
                            q(types[i].empty() ? "（未声明）" : types[i]) + "，应为" +
                            q(t.columns[i].type));
    }
}

}  // namespace

std::string layoutDifference(Store& store, int version) {
    const auto expected = expectedObjects(version);
    std::vector<std::string> found;
    std::set<std::string> present;
    // Tables first, so that a missing table is named before the indexes that hang on it.
    const auto objects = store.select(
        "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type <> 'table', rowid");
    for (const auto& row : objects) {
        const auto type = row[0].text(), name = row[1].text(), table = row[2].text();
        const auto sql = row[3].isNull() ? std::string() : row[3].text();
        present.insert(name);
        const auto it = expected.find(name);
        const bool ours = it != expected.end() &&
                          (type == "table") == (it->second.table != nullptr) &&
                          (type == "table" || type == "index");
        if (!ours) {
            found.push_back("多出" + kindWord(type) + q(name) +
                            (type == "table" || table.empty() || table == name
                                 ? std::string()
                                 : "（属于表" + q(table) + "）"));
            continue;
        }
        if (it->second.table) {
            const auto before = found.size();
            compareColumns(store, *it->second.table, found);
            if (found.size() == before && sql != it->second.sql)
                found.push_back("表" + q(name) + "的定义（约束、默认值或排序方式）与本程序的不同");
        } else if (sql != it->second.sql) {
            found.push_back("索引" + q(name) + "的定义与本程序的不同");
        }
    }
    for (const auto& [name, e] : expected)
        if (!present.count(name)) found.push_back((e.table ? "缺少表" : "缺少索引") + q(name));

    constexpr std::size_t kShown = 5;
    std::string text;
    for (std::size_t i = 0; i < found.size() && i < kShown; ++i) text += (i ? "；" : "") + found[i];
    if (found.size() > kShown)
        text += "；另有 " + std::to_string(found.size() - kShown) + " 处不同";
    return text;
}

}  // namespace daike
