#include "school/resets.h"

#include <array>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "store/schema.h"
#include "store/store.h"
#include "store/week.h"

namespace daike {

void newDay(Store& store) {
    store.transaction([&] {
        store.emptyTable("代课教师");
        {
            auto rs = store.dkb("select * from 代课节数 ");
            for (auto& row : rs) row.set("当日代课", 0);
            rs.update();
        }
        {
            auto rs = store.dkb("select * from 任课情况 ");
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                if (rs["标记"].isNull() && rs["已代标记"].isNull()) continue;
                rs.set("标记", nullptr);
                rs.set("已代标记", nullptr);
            }
            rs.update();
        }
        store.emptyTable("临时代课记录");
        store.emptyTable("需代课目情况");
        store.emptyTable("当天代课记录");
    });
}

namespace {

// The names of 教师姓名 in table order (Null as the empty text).
std::vector<std::string> teacherNames(Store& store) {
    return store.dkb("select * from 教师姓名").columnText(0);
}

}  // namespace

void buildFreeTeachers(Store& store) {
    store.transaction([&] {
        std::vector<std::string> teachers;
        for (auto& n : teacherNames(store))
            if (!n.empty()) teachers.push_back(std::move(n));

        // The thirty columns are filled independently, each from the top. A row is added
        // whenever a teacher is reached with the column's cursor past the last row, whether or
        // not that teacher turns out to be free; so the table is as long as the longest column
        // needs, plus one closing empty row.
        constexpr int kSlots = week::kSlots;
        std::vector<week::PerSlot<Value>> grid(1);  // the row added to the empty table
        for (int w = 1; w <= week::kDays; ++w) {
            for (int p = 1; p <= week::kPeriods; ++p) {
                const int k = week::slotIndex(w, p);
                std::unordered_set<std::string> busy;
                auto lessons = store.dkb("select * from 任课情况 where 星期=? and 节次=?", {w, p});
                for (const auto& name : lessons.column(0))
                    if (!name.isNull()) busy.insert(name.text());
                std::size_t row = 0;
                for (const auto& t : teachers) {
                    if (row >= grid.size()) grid.emplace_back();
                    if (busy.count(t)) continue;
                    grid[row][static_cast<std::size_t>(k)] = Value(t);
                    ++row;
                }
            }
        }
        grid.emplace_back();  // the closing empty row

        store.emptyTable("空课教师表");
        auto rs = store.dkb("select * from 空课教师表");
        for (const auto& cells : grid) {
            rs.addNew();
            for (int k = 0; k < kSlots; ++k) rs.set(k, cells[static_cast<std::size_t>(k)]);
        }
        rs.update();
    });
}

void countDailyLessons(Store& store) {
    store.transaction([&] {
        // Lessons per teacher and weekday, from one walk of the timetable.
        std::unordered_map<std::string, week::PerDay<std::int64_t>> counts;
        {
            auto rs = store.dkb("select * from 任课情况");
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                const Value& day = rs[1];
                if (rs[0].isNull() || day.isNull() || day.isText()) continue;
                const double d = day.toDouble();
                if (d != static_cast<double>(static_cast<int>(d)) || d < 1 || d > week::kDays)
                    continue;
                counts[rs[0].text()][static_cast<std::size_t>(d) - 1] += 1;
            }
        }
        const std::vector<Value> names = store.dkb("select * from 教师姓名").column(0);
        store.emptyTable("每日节数表");
        auto rs = store.dkb("select * from 每日节数表");
        for (const auto& name : names) {
            week::PerDay<std::int64_t> c{};
            if (!name.isNull())
                if (auto it = counts.find(name.text()); it != counts.end()) c = it->second;
            rs.addNew();
            rs.set(0, name);
            std::int64_t sum = 0;
            for (std::size_t w = 0; w < c.size(); ++w) {
                rs.set(schema::weekdayColumn(static_cast<int>(w) + 1), c[w]);
                sum += c[w];
            }
            rs.set("总和", sum);
        }
        rs.update();
    });
}

void resetCoverCounts(Store& store) {
    store.transaction([&] {
        const std::vector<Value> names = store.dkb("select * from 教师姓名").column(0);
        store.emptyTable("代课节数");
        auto rs = store.dkb("select * from 代课节数 ");
        for (const auto& name : names) {
            rs.addNew();
            rs.set("姓名", name);
            rs.set("当日代课", 0);
            rs.set("学期代课", 0);
        }
        rs.update();
    });
}

void clearTermRecords(Store& store) {
    store.transaction([&] { store.emptyTable("代课记录"); });
}

void emptyAllData(Store& store) {
    static const char* const kTables[] = {
        "班级",       "代课记录",   "代课教师", "代课节数",     "当天代课记录",
        "教师姓名",   "开设课程",   "可代教师", "空课教师表",   "临时代课记录",
        "临时运算表", "每日节数表", "任课情况", "需代课目情况",
    };
    store.transaction([&] {
        for (const char* t : kTables) store.emptyTable(t);
    });
}

}  // namespace daike
