#include "store/tables/candidates.h"

#include <algorithm>

#include "store/store.h"

namespace daike::candidates {

namespace {

// The ranking order of the candidate list, as the office has always read 临时运算表: head
// teacher of the class first, then a main subject there (an unset mark after 1), the affinity
// letters descending, then the fewest lessons and covers today, not teaching the period
// before, and the fewest covers this term. Ties keep the order the candidates were scored in.
constexpr const char* kRankingQuery =
    "select * from 临时运算表  order by 班幅标记 desc,任课情况 desc ,本日节数 asc ,本日代课 asc , "
    "连课情况 asc ,总节数 asc ";

}  // namespace

void setEligible(Store& store, const std::vector<std::string>& names) {
    store.transaction([&] {
        store.emptyTable("可代教师");
        for (const auto& n : names)
            store.exec("INSERT INTO 可代教师 (姓名) VALUES (?)", {Value(n)});
    });
}

void replaceScores(Store& store, const std::vector<CandidateRow>& rows) {
    store.transaction([&] {
        store.emptyTable("临时运算表");
        for (const auto& c : rows)
            store.exec(
                "INSERT INTO 临时运算表 (姓名, 任课情况, 本日节数, 本日代课, 连课情况, 总节数, "
                "班幅标记) VALUES (?, ?, ?, ?, ?, ?, ?)",
                {Value(c.name), Value(c.affinity), c.lessonsToday, c.coversToday, Value(c.adjacent),
                 c.coversThisTerm, c.classMark ? Value(c.classMark) : Value()});
    });
}

std::vector<CandidateRow> ranked(Store& store) {
    std::vector<CandidateRow> rows;
    auto rs = store.dkb(kRankingQuery);
    for (const auto& r : rs)
        rows.push_back({r[0].text(), r[1].text(), r[2], r[3], r[4].text(), r[5],
                        static_cast<int>(r[6].toInt())});
    return rows;
}

void sortRanked(Store& store, std::vector<CandidateRow>& rows) {
    // The query's keys one after another; an unset mark is stored as Null, which a descending
    // order puts after 1.
    auto before = [&](const CandidateRow& a, const CandidateRow& b) {
        if (a.classMark != b.classMark) return a.classMark > b.classMark;
        if (int c = store.compareText(a.affinity, b.affinity); c != 0) return c > 0;
        const double la = a.lessonsToday.toDouble(), lb = b.lessonsToday.toDouble();
        if (la != lb) return la < lb;
        const double ta = a.coversToday.toDouble(), tb = b.coversToday.toDouble();
        if (ta != tb) return ta < tb;
        if (int c = store.compareText(a.adjacent, b.adjacent); c != 0) return c < 0;
        return a.coversThisTerm.toDouble() < b.coversThisTerm.toDouble();
    };
    std::stable_sort(rows.begin(), rows.end(), before);
}

void clear(Store& store) {
    store.transaction([&] {
        store.emptyTable("可代教师");
        store.emptyTable("临时运算表");
    });
}

}  // namespace daike::candidates
