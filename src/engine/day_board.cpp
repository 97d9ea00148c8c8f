#include "engine/day_board.h"

#include <algorithm>

#include "store/schema.h"
#include "store/store.h"
#include "store/week.h"

namespace daike::board {

int Board::covered() const {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const Line& l) { return !l.waiting; }));
}

int Board::waiting() const {
    return static_cast<int>(lines.size()) - covered();
}

Board load(Store& store, int week, int weekday) {
    Board b;
    b.week = week;
    b.weekday = weekday;
    {
        auto rs = store.dkb("select * from 当天代课记录");
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            // The records of a day not yet cleared by "新的一天" are not today's cover.
            if (leadingNumber(rs["周次"].text()) != week || rs["星期"].toDouble() != weekday) {
                ++b.otherDays;
                continue;
            }
            Line l;
            l.absent = rs["被代"].text();
            l.reason = rs["性质"].text();
            l.substitute = rs["代者"].text();
            l.cls = rs["班级"].text();
            l.subject = rs["课目"].text();
            l.period = static_cast<int>(rs["节次"].toInt());
            b.lines.push_back(std::move(l));
        }
    }
    {
        auto rs = store.dkb("select * from 需代课目情况 where 星期=?", {Value(weekday)});
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            Line l;
            l.absent = rs["姓名"].text();
            l.cls = rs["班级"].text();
            l.subject = rs["课目"].text();
            l.period = static_cast<int>(rs["节次"].toInt());
            l.waiting = true;
            b.lines.push_back(std::move(l));
        }
    }
    // The absent teachers in the order they first appear, by period.
    std::stable_sort(b.lines.begin(), b.lines.end(), [](const Line& x, const Line& y) {
        return x.period != y.period ? x.period < y.period : x.cls < y.cls;
    });
    for (const auto& l : b.lines) {
        auto a = std::find_if(b.absent.begin(), b.absent.end(),
                              [&](const Absent& x) { return x.name == l.absent; });
        if (a == b.absent.end()) {
            b.absent.push_back({l.absent, {}});
            a = b.absent.end() - 1;
        }
        if (l.reason.empty()) continue;
        // A teacher may have been covered under two reasons (morning and afternoon).
        bool known = false;
        std::size_t from = 0;
        while (!known && from <= a->reason.size()) {
            const auto to = std::min(a->reason.find("、", from), a->reason.size());
            known = a->reason.compare(from, to - from, l.reason) == 0;
            from = to + std::string("、").size();
        }
        if (!known) a->reason += (a->reason.empty() ? "" : "、") + l.reason;
    }
    // Away in a free period: the teacher's name in a period column with "1" in the flag
    // column of the same row.
    {
        auto rs = store.dkb("select * from 代课教师");
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            for (int p = 1; p <= week::kPeriods; ++p) {
                const std::string col = schema::periodColumn(p);
                if (rs[schema::leaveFlagColumn(p)].text() != "1" || rs[col].isBlank()) continue;
                const std::string name = rs[col].text();
                auto a = std::find_if(b.away.begin(), b.away.end(),
                                      [&](const Away& x) { return x.name == name; });
                if (a == b.away.end()) {
                    b.away.push_back({name, {}});
                    a = b.away.end() - 1;
                }
                if (std::find(a->periods.begin(), a->periods.end(), p) == a->periods.end())
                    a->periods.push_back(p);
            }
        }
        for (auto& a : b.away) std::sort(a.periods.begin(), a.periods.end());
        // The absent teachers stand above with their reasons already.
        std::erase_if(b.away, [&](const Away& a) {
            return std::any_of(b.absent.begin(), b.absent.end(),
                               [&](const Absent& x) { return x.name == a.name; });
        });
    }
    return b;
}

std::string periodList(const std::vector<int>& periods) {
    std::string s = "第";
    for (std::size_t i = 0; i < periods.size(); ++i)
        s += (i ? "、" : "") + std::to_string(periods[i]);
    return s + "节";
}

}  // namespace daike::board
