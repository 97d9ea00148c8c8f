#include "store/tables/teachers.h"

#include "store/store.h"

namespace daike::teachers {

namespace {

constexpr const char* kSelect = "SELECT rowid, 姓名, 班主任, 语文, 数学, 英语, 科学 FROM 教师姓名";

std::optional<std::string> optionalText(const Value& v) {
    if (v.isNull()) return std::nullopt;
    return v.text();
}

Value valueOf(const std::optional<std::string>& s) {
    return s ? Value(*s) : Value();
}

TeacherRow rowOf(const std::vector<Value>& r) {
    TeacherRow t;
    t.row = r[0].toInt();
    t.name = optionalText(r[1]);
    t.headOf = optionalText(r[2]);
    for (std::size_t k = 0; k < t.subjectClasses.size(); ++k)
        t.subjectClasses[k] = optionalText(r[3 + k]);
    return t;
}

std::vector<Value> valuesOf(const TeacherRow& t) {
    std::vector<Value> v{valueOf(t.name), valueOf(t.headOf)};
    for (const auto& c : t.subjectClasses) v.push_back(valueOf(c));
    return v;
}

}  // namespace

std::vector<TeacherRow> all(Store& store) {
    std::vector<TeacherRow> out;
    for (const auto& r : store.select(std::string(kSelect) + " ORDER BY rowid"))
        out.push_back(rowOf(r));
    return out;
}

std::vector<std::string> names(Store& store) {
    std::vector<std::string> out;
    for (const auto& r : store.select("SELECT 姓名 FROM 教师姓名 ORDER BY rowid"))
        out.push_back(r[0].text());
    return out;
}

std::vector<std::string> namesInChineseOrder(Store& store) {
    std::vector<std::string> out;
    for (const auto& r : store.select("SELECT 姓名 FROM 教师姓名 ORDER BY 姓名 ASC, rowid"))
        out.push_back(r[0].text());
    return out;
}

std::optional<TeacherRow> find(Store& store, std::string_view name) {
    const auto rows =
        store.select(std::string(kSelect) + " WHERE 姓名=? ORDER BY rowid LIMIT 1", {Value(name)});
    if (rows.empty()) return std::nullopt;
    return rowOf(rows[0]);
}

bool exists(Store& store, std::string_view name) {
    return !store.select("SELECT 1 FROM 教师姓名 WHERE 姓名=? LIMIT 1", {Value(name)}).empty();
}

void replaceAll(Store& store, const std::vector<TeacherRow>& rows) {
    store.transaction([&] {
        store.emptyTable("教师姓名");
        for (const auto& t : rows)
            store.exec(
                "INSERT INTO 教师姓名 (姓名, 班主任, 语文, 数学, 英语, 科学) VALUES (?, ?, ?, ?, "
                "?, ?)",
                valuesOf(t));
    });
}

void add(Store& store, const std::string& name) {
    TeacherRow t;
    t.name = name;
    store.exec(
        "INSERT INTO 教师姓名 (姓名, 班主任, 语文, 数学, 英语, 科学) VALUES (?, ?, ?, ?, ?, ?)",
        valuesOf(t));
}

void update(Store& store, const TeacherRow& t) {
    auto values = valuesOf(t);
    values.emplace_back(t.row);
    store.exec("UPDATE 教师姓名 SET 姓名=?, 班主任=?, 语文=?, 数学=?, 英语=?, 科学=? WHERE rowid=?",
               values);
}

}  // namespace daike::teachers
