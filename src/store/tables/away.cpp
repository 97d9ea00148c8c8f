#include "store/tables/away.h"

#include "store/schema.h"
#include "store/store.h"
#include "store/week.h"

namespace daike::away {

namespace {

constexpr const char* kTable = "代课教师";

}  // namespace

std::vector<Booking> all(Store& store) {
    std::vector<Booking> out;
    auto rs = store.dkb("select * from 代课教师");
    for (const auto& row : rs)
        for (int p = 1; p <= week::kPeriods; ++p) {
            const auto& cell = row[schema::periodColumn(p)];
            if (cell.isBlank()) continue;
            out.push_back({cell.text(), p, row[schema::leaveFlagColumn(p)].text() == "1"});
        }
    return out;
}

std::vector<Booking> inPeriod(Store& store, int period) {
    std::vector<Booking> out;
    if (!week::isPeriod(period)) return out;
    const std::string col = schema::periodColumn(period), flag = schema::leaveFlagColumn(period);
    auto rs = store.dkb("select * from 代课教师");
    for (const auto& row : rs)
        if (!row[col].isBlank()) out.push_back({row[col].text(), period, row[flag].text() == "1"});
    return out;
}

std::vector<Booking> fromTop(Store& store, int period) {
    std::vector<Booking> out;
    if (!week::isPeriod(period)) return out;
    const std::string col = schema::periodColumn(period), flag = schema::leaveFlagColumn(period);
    auto rs = store.dkb("select * from 代课教师");
    for (const auto& row : rs) {
        if (row[col].isBlank()) break;
        out.push_back({row[col].text(), period, row[flag].text() == "1"});
    }
    return out;
}

bool isBooked(Store& store, int period, std::string_view name) {
    for (const auto& b : inPeriod(store, period))
        if (b.name == name) return true;
    return false;
}

bool anyone(Store& store) {
    return !all(store).empty();
}

void book(Store& store, int period, std::string_view name, bool freePeriod) {
    store.transaction([&] {
        auto rs = store.dkb("select * from 代课教师");
        const int col = rs.fieldIndex(schema::periodColumn(period));
        rs.moveFirst();
        while (!rs.eof() && !rs[col].isNull()) rs.moveNext();
        if (rs.eof()) rs.addNew();
        rs.set(col, Value(name));
        if (freePeriod) rs.set(schema::leaveFlagColumn(period), "1");
        rs.update();
    });
}

bool withdraw(Store& store, int period, std::string_view name) {
    return store.removePacked(kTable, schema::periodColumn(period), Value(name),
                              {schema::leaveFlagColumn(period)});
}

void clear(Store& store) {
    store.emptyTable(kTable);
}

}  // namespace daike::away
