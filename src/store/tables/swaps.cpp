#include "store/tables/swaps.h"

#include "store/store.h"

namespace daike::swaps {

namespace {

constexpr const char* kColumns =
    "rowid, 学期首日, 周次1, 星期1, 节次1, 周次2, 星期2, 节次2, 班级, 教师1, 课目1, 教师2, 课目2, "
    "事由, 已还, 记录时间";

SwapRecord rowOf(std::vector<Value>& r) {
    SwapRecord s;
    s.id = r[0].toInt();
    s.termStart = r[1].takeText();
    s.first = {static_cast<int>(r[2].toInt()), static_cast<int>(r[3].toInt()),
               static_cast<int>(r[4].toInt())};
    if (!r[5].isNull() && !r[6].isNull() && !r[7].isNull())
        s.second = Slot{static_cast<int>(r[5].toInt()), static_cast<int>(r[6].toInt()),
                        static_cast<int>(r[7].toInt())};
    s.cls = r[8].takeText();
    s.teacher = r[9].takeText();
    s.subject = r[10].takeText();
    s.colleague = r[11].takeText();
    s.colleagueSubject = r[12].takeText();
    s.reason = r[13].takeText();
    s.paidBack = !r[14].isNull() && r[14].toInt() == 1;
    s.recorded = r[15].takeText();
    return s;
}

Value slotPart(const std::optional<Slot>& s, int Slot::*part) {
    return s ? Value(static_cast<std::int64_t>((*s).*part)) : Value();
}

}  // namespace

std::vector<SwapRecord> ofTerm(Store& store, const std::string& termStart) {
    std::vector<SwapRecord> out;
    for (auto& r : store.select(
             std::string("SELECT ") + kColumns + " FROM 调课记录 WHERE 学期首日 = ? ORDER BY rowid",
             {Value(termStart)}))
        out.push_back(rowOf(r));
    return out;
}

std::vector<SwapRecord> all(Store& store) {
    std::vector<SwapRecord> out;
    for (auto& r :
         store.select(std::string("SELECT ") + kColumns + " FROM 调课记录 ORDER BY rowid"))
        out.push_back(rowOf(r));
    return out;
}

std::vector<SwapRecord> ofDay(Store& store, const std::string& termStart, int week, int weekday) {
    std::vector<SwapRecord> out;
    for (auto& r :
         store.select(std::string("SELECT ") + kColumns +
                          " FROM 调课记录 WHERE 学期首日 = ? AND ((周次1 = ? AND 星期1 = ?) "
                          "OR (周次2 = ? AND 星期2 = ?)) ORDER BY rowid",
                      {Value(termStart), Value(week), Value(weekday), Value(week), Value(weekday)}))
        out.push_back(rowOf(r));
    return out;
}

std::optional<SwapRecord> find(Store& store, std::int64_t id) {
    auto rows = store.select(std::string("SELECT ") + kColumns + " FROM 调课记录 WHERE rowid = ?",
                             {Value(id)});
    if (rows.empty()) return std::nullopt;
    return rowOf(rows.front());
}

std::int64_t add(Store& store, const SwapRecord& s) {
    const std::optional<Slot> first = s.first;
    store.exec(
        "INSERT INTO 调课记录 (学期首日, 周次1, 星期1, 节次1, 周次2, 星期2, 节次2, 班级, 教师1, "
        "课目1, "
        "教师2, 课目2, 事由, 已还, 记录时间) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {Value(s.termStart), slotPart(first, &Slot::week), slotPart(first, &Slot::weekday),
         slotPart(first, &Slot::period), slotPart(s.second, &Slot::week),
         slotPart(s.second, &Slot::weekday), slotPart(s.second, &Slot::period), Value(s.cls),
         Value(s.teacher), Value(s.subject), Value(s.colleague), Value(s.colleagueSubject),
         Value(s.reason), Value(static_cast<std::int64_t>(s.paidBack ? 1 : 0)), Value(s.recorded)});
    return store.select("SELECT last_insert_rowid()")[0][0].toInt();
}

bool remove(Store& store, std::int64_t id) {
    return store.exec("DELETE FROM 调课记录 WHERE rowid = ?", {Value(id)}) > 0;
}

void setReturn(Store& store, std::int64_t id, const Slot& second, const std::string& subject) {
    const std::optional<Slot> s = second;
    store.exec(
        "UPDATE 调课记录 SET 周次2 = ?, 星期2 = ?, 节次2 = ?, 课目2 = ?, 已还 = 1 WHERE rowid = ?",
        {slotPart(s, &Slot::week), slotPart(s, &Slot::weekday), slotPart(s, &Slot::period),
         Value(subject), Value(id)});
}

void clear(Store& store) {
    store.emptyTable("调课记录");
}

void clearTerm(Store& store, const std::string& termStart) {
    store.exec("DELETE FROM 调课记录 WHERE 学期首日 = ?", {Value(termStart)});
}

std::vector<ToldSwap> toldOf(Store& store, int week, int weekday) {
    std::vector<ToldSwap> out;
    for (auto& r : store.select(
             "SELECT 教师, 班级, 文字 FROM 已通知调课 WHERE 周次 = ? AND 星期 = ? AND 文字 IS NOT "
             "NULL ORDER BY rowid",
             {Value(week), Value(weekday)}))
        out.push_back({r[0].takeText(), r[1].takeText(), r[2].takeText()});
    return out;
}

bool toldAny(Store& store, int week, int weekday) {
    return !store
                .select("SELECT 1 FROM 已通知调课 WHERE 周次 = ? AND 星期 = ? LIMIT 1",
                        {Value(week), Value(weekday)})
                .empty();
}

void replaceTold(Store& store, int week, int weekday, const std::vector<ToldSwap>& told) {
    store.transaction([&] {
        store.emptyTable("已通知调课");
        // A day told of no swap keeps one row without text: told, and of nothing.
        if (told.empty())
            store.exec("INSERT INTO 已通知调课 (周次, 星期) VALUES (?, ?)",
                       {Value(week), Value(weekday)});
        for (const auto& t : told)
            store.exec(
                "INSERT INTO 已通知调课 (周次, 星期, 教师, 班级, 文字) VALUES (?, ?, ?, ?, ?)",
                {Value(week), Value(weekday), Value(t.teachers), Value(t.cls), Value(t.text)});
    });
}

void clearTold(Store& store) {
    store.emptyTable("已通知调课");
}

SwapSettings settings(Store& store) {
    SwapSettings s;
    auto rows = store.select("SELECT 天数, 短假优先调课 FROM 调课设置 ORDER BY rowid LIMIT 1");
    if (rows.empty()) return s;
    if (!rows[0][0].isNull() && rows[0][0].toInt() > 0)
        s.days = static_cast<int>(rows[0][0].toInt());
    s.preferSwaps = !rows[0][1].isNull() && rows[0][1].toInt() == 1;
    return s;
}

void setSettings(Store& store, const SwapSettings& s) {
    store.transaction([&] {
        store.emptyTable("调课设置");
        store.exec("INSERT INTO 调课设置 (天数, 短假优先调课) VALUES (?, ?)",
                   {Value(static_cast<std::int64_t>(s.days)),
                    Value(static_cast<std::int64_t>(s.preferSwaps ? 1 : 0))});
    });
}

}  // namespace daike::swaps
