#include "engine/free_period_leave.h"

#include <algorithm>

#include "store/schema.h"
#include "store/store.h"
#include "store/week.h"

namespace daike::leave {

namespace {
std::string column(int period) {
    return schema::periodColumn(period);
}
std::string flagColumn(int period) {
    return schema::leaveFlagColumn(period);
}
}  // namespace

void recordAway(Store& store, std::string_view name, int period, bool freePeriod) {
    store.transaction([&] {
        auto rs = store.dkb("select * from 代课教师");
        const int col = rs.fieldIndex(column(period));
        rs.moveFirst();
        while (!rs.eof() && !rs[col].isNull()) rs.moveNext();
        if (rs.eof()) rs.addNew();
        rs.set(col, Value(name));
        if (freePeriod) rs.set(flagColumn(period), "1");
        rs.update();
    });
}

void recordDay(Store& store, std::string_view name, const Periods& lessonPeriods,
               const Periods& freePeriods) {
    if (name.empty()) return;
    store.transaction([&] {
        for (int i = 0; i < week::kPeriods; ++i)
            if (lessonPeriods[static_cast<std::size_t>(i)]) recordAway(store, name, i + 1, false);
        for (int i = 0; i < week::kPeriods; ++i)
            if (freePeriods[static_cast<std::size_t>(i)]) recordAway(store, name, i + 1, true);
    });
}

Periods recordedFreePeriods(Store& store, std::string_view name) {
    Periods found{};
    auto rs = store.dkb("select * from 代课教师");
    for (int p = 1; p <= week::kPeriods; ++p) {
        const int col = rs.fieldIndex(column(p));
        const int flag = rs.fieldIndex(flagColumn(p));
        for (rs.moveFirst(); !rs.eof() && !rs[col].isNull(); rs.moveNext())
            if (rs[col] == Value(name) && rs[flag].text() == "1")
                found[static_cast<std::size_t>(p - 1)] = true;
    }
    return found;
}

void withdraw(Store& store, std::string_view name, const Periods& periods) {
    store.transaction([&] {
        for (int p = 1; p <= week::kPeriods; ++p)
            if (periods[static_cast<std::size_t>(p - 1)])
                store.removePacked("代课教师", column(p), Value(name), {flagColumn(p)});
    });
}

void dropFromList(std::vector<std::string>& list, std::string_view name) {
    auto it = std::find(list.begin(), list.end(), name);
    if (it != list.end()) list.erase(it);
}

}  // namespace daike::leave
