// Random small schools and random days of several absent teachers: teachers entered, lessons
// covered, covers withdrawn and re-assigned in any order. After every step what the office
// relies on must hold: each record is a lesson of its absent teacher, no one covers twice in
// a period, the tallies equal the records, the three record tables agree, the queue holds
// only lessons still to cover, and the columns of 代课教师 stay packed.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <tuple>

#include "engine/absence_entry.h"
#include "engine/assignment.h"
#include "engine/modification.h"
#include "engine/ranking.h"
#include "school/resets.h"
#include "test_support.h"

using namespace daike;

namespace {

constexpr int kWeekday = 3;

struct Day {
    daike::testing::TempStore db;
    std::mt19937 rng;
    std::vector<std::string> teachers;
    std::set<std::string> entered;
    std::string trace;  // the steps so far, for a failure's report

    explicit Day(unsigned seed) : rng(seed) {
        const int nTeachers = pick(6, 10);
        const int nClasses = pick(2, 4);
        std::string script;
        for (int t = 0; t < nTeachers; ++t) {
            teachers.push_back("师" + std::to_string(t));
            script += "INSERT INTO 教师姓名 (姓名) VALUES ('" + teachers.back() + "');";
        }
        // A day for every class; now and then a teacher takes two classes at once.
        for (int w = kWeekday - 1; w <= kWeekday; ++w) {
            for (int p = 1; p <= 6; ++p) {
                std::set<int> busy;
                for (int c = 1; c <= nClasses; ++c) {
                    if (pick(0, 9) < 3) continue;
                    int t = pick(0, nTeachers - 1);
                    if (busy.count(t) && pick(0, 9) > 0) continue;
                    busy.insert(t);
                    script += "INSERT INTO 任课情况 VALUES ('" + teachers[static_cast<size_t>(t)] +
                              "'," + std::to_string(w) + ",'一(" + std::to_string(c) + ")'," +
                              std::to_string(p) + ",'课" + std::to_string(c) + "',NULL,NULL);";
                    // Now and then two teachers share a class in a period: both may be absent,
                    // and their queued lessons differ by teacher only.
                    const int other = pick(0, nTeachers - 1);
                    if (pick(0, 3) > 0 || busy.count(other)) continue;
                    busy.insert(other);
                    script += "INSERT INTO 任课情况 VALUES ('" +
                              teachers[static_cast<size_t>(other)] + "'," + std::to_string(w) +
                              ",'一(" + std::to_string(c) + ")'," + std::to_string(p) + ",'课" +
                              std::to_string(c) + "',NULL,NULL);";
                }
            }
        }
        db->execScript(script);
        buildFreeTeachers(*db);
        countDailyLessons(*db);
        resetCoverCounts(*db);
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    std::vector<std::vector<Value>> rows(const std::string& sql) { return db->select(sql); }

    void enterTeacher() {
        std::vector<std::string> left;
        for (const auto& t : teachers)
            if (!entered.count(t)) left.push_back(t);
        if (left.empty()) return;
        const auto name = left[static_cast<size_t>(pick(0, static_cast<int>(left.size()) - 1))];
        auto sheet = absence::DaySheet::load(*db, name, kWeekday);
        for (int r = 0; r < 6; ++r)
            if (pick(0, 2) == 0) sheet.toggle(r);
        if (pick(0, 3) == 0) sheet.clickHalf(pick(0, 1));
        if (!sheet.anySelected()) return;
        absence::storeTeacher(*db, name, kWeekday, sheet);
        entered.insert(name);
        trace += " store " + name;
    }

    void coverOne() {
        auto queue = rows("SELECT 姓名,班级,节次,课目 FROM 需代课目情况");
        if (queue.empty()) return;
        const auto& q = queue[static_cast<size_t>(pick(0, static_cast<int>(queue.size()) - 1))];
        const int period = static_cast<int>(q[2].toInt());
        const auto ranked = ranking::rank(*db, std::to_string(kWeekday), period, q[1].text());
        if (ranked.rows.empty()) return;
        const auto& who =
            ranked.rows[static_cast<size_t>(pick(0, static_cast<int>(ranked.rows.size()) - 1))];
        assignment::recordCover(
            *db, {q[0].text(), "病假", who.name, "7", "3", q[1].text(), q[3].text(), period}, true);
        trace += " cover " + q[1].text() + "/" + std::to_string(period) + "<-" + who.name;
    }

    std::optional<modification::CoverRow> someCover() {
        auto covers = rows("SELECT * FROM 当天代课记录");
        if (covers.empty()) return std::nullopt;
        const auto& r = covers[static_cast<size_t>(pick(0, static_cast<int>(covers.size()) - 1))];
        return modification::CoverRow{r[0].text(),
                                      r[1].text(),
                                      r[2].text(),
                                      r[3].text(),
                                      static_cast<int>(r[4].toInt()),
                                      r[5].text(),
                                      r[6].text(),
                                      static_cast<int>(r[7].toInt())};
    }

    void withdrawOne(bool again) {
        const auto c = someCover();
        if (!c) return;
        const auto out = again ? modification::reassign(*db, *c) : modification::withdraw(*db, *c);
        EXPECT_TRUE(out.notFound.empty()) << trace;
        trace += (again ? " reassign " : " withdraw ") + c->cls + "/" + std::to_string(c->period);
    }

    void checkInvariants() {
        SCOPED_TRACE(trace);
        // Each record is a covered lesson of its absent teacher on the recorded weekday.
        const auto unmatched = rows(
            "SELECT * FROM 当天代课记录 r WHERE NOT EXISTS (SELECT 1 FROM 任课情况 l WHERE "
            "l.姓名=r.被代 AND l.星期=r.星期 AND l.班级=r.班级 AND l.节次=r.节次 AND "
            "l.课目=r.课目 AND l.标记=1 AND l.已代标记=1)");
        EXPECT_TRUE(unmatched.empty()) << "a record without its covered lesson";
        EXPECT_EQ(rows("SELECT count(*) FROM 任课情况 WHERE 已代标记=1")[0][0].toInt(),
                  rows("SELECT count(*) FROM 当天代课记录")[0][0].toInt())
            << "covered lessons and records differ";
        // No one covers twice in a period, nor in a period of a lesson of one's own.
        EXPECT_TRUE(rows("SELECT 代者,节次 FROM 当天代课记录 GROUP BY 代者,节次 "
                         "HAVING count(*)>1")
                        .empty())
            << "a substitute booked twice";
        EXPECT_TRUE(rows("SELECT 1 FROM 当天代课记录 r JOIN 任课情况 l ON l.姓名=r.代者 AND "
                         "l.星期=r.星期 AND l.节次=r.节次")
                        .empty())
            << "a substitute who teaches then";
        // Tallies equal the records.
        EXPECT_TRUE(rows("SELECT 1 FROM 代课节数 n WHERE 当日代课 <> (SELECT count(*) FROM "
                         "当天代课记录 WHERE 代者=n.姓名) OR 学期代课 <> (SELECT count(*) FROM "
                         "代课记录 WHERE 代者=n.姓名)")
                        .empty())
            << "tallies differ from the records";
        // The three record tables hold the same covers.
        for (const char* t : {"代课记录", "临时代课记录"})
            EXPECT_EQ(db.all(std::string("SELECT * FROM ") + t + " ORDER BY 节次,班级,代者"),
                      db.all("SELECT * FROM 当天代课记录 ORDER BY 节次,班级,代者"))
                << t;
        // The queue holds lessons of its teachers that are still to cover, each once.
        EXPECT_TRUE(rows("SELECT * FROM 需代课目情况 q WHERE NOT EXISTS (SELECT 1 FROM 任课情况 "
                         "l WHERE l.姓名=q.姓名 AND l.星期=q.星期 AND l.班级=q.班级 AND "
                         "l.节次=q.节次 AND l.已代标记 IS NULL)")
                        .empty())
            << "a queued lesson that is covered or unknown";
        EXPECT_TRUE(
            rows("SELECT 1 FROM 需代课目情况 GROUP BY 姓名,班级,节次 HAVING count(*)>1").empty())
            << "a lesson queued twice";
        // Columns of 代课教师 stay packed, flags beside names, substitutes entered.
        const auto away = db->selectText("SELECT * FROM 代课教师");
        for (int p = 0; p < 6; ++p) {
            bool gap = false;
            for (const auto& r : away) {
                const auto& name = r[static_cast<size_t>(p)];
                if (!name) gap = true;
                EXPECT_FALSE(gap && name) << "column " << p + 1 << " has a gap";
                EXPECT_FALSE(!name && r[static_cast<size_t>(p + 6)])
                    << "a flag without a name in period " << p + 1;
            }
        }
        for (const auto& r :
             rows("SELECT 代者,节次,count(*) FROM 当天代课记录 GROUP BY 代者,节次")) {
            const auto col = r[1].text();
            EXPECT_GE(rows("SELECT count(*) FROM 代课教师 WHERE \"" + col + "\"='" + r[0].text() +
                           "'")[0][0]
                          .toInt(),
                      r[2].toInt())
                << r[0].text() << " not entered in period " << col;
        }
    }
};

}  // namespace

TEST(SeveralTeachersProperty, InvariantsHoldAfterEveryStep) {
    for (unsigned seed = 1; seed <= 16; ++seed) {
        Day day(seed);
        for (int step = 0; step < 30 && !::testing::Test::HasFailure(); ++step) {
            const int what = day.pick(0, 9);
            if (what < 3)
                day.enterTeacher();
            else if (what < 7)
                day.coverOne();
            else if (what < 8)
                day.withdrawOne(false);
            else
                day.withdrawOne(true);
            day.checkInvariants();
        }
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
    }
}
