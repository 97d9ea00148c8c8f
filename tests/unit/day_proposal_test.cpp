// 一键安排 and today's board: the one-step proposal must be what taking row 1 lesson by lesson
// gives, write nothing until confirmed, and confirm exactly as the manual steps record.
#include "engine/day_proposal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <set>

#include "basedata/demo_school.h"
#include "engine/assignment.h"
#include "engine/day_board.h"
#include "engine/free_period_leave.h"
#include "school/cover_rules.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::SchoolBuilder;
using testing::TempStore;

// Everything cover touches, in a stable text form; with `work`, the ranking's work tables too
// (the proposal ranks in memory and leaves them as they were; a period click rebuilds them).
std::string tables(TempStore& db, bool work = true) {
    std::string out;
    for (const char* q :
         {"SELECT * FROM 代课记录 ORDER BY rowid", "SELECT * FROM 当天代课记录 ORDER BY rowid",
          "SELECT * FROM 临时代课记录 ORDER BY rowid", "SELECT * FROM 代课节数 ORDER BY rowid",
          "SELECT * FROM 代课教师 ORDER BY rowid", "SELECT * FROM 需代课目情况 ORDER BY rowid",
          "SELECT * FROM 任课情况 WHERE 标记 IS NOT NULL OR 已代标记 IS NOT NULL ORDER BY rowid",
          "SELECT * FROM 临时运算表 ORDER BY rowid", "SELECT * FROM 可代教师 ORDER BY rowid"}) {
        const std::string_view query = q;
        const bool workTable =
            query.find("临时运算表") != query.npos || query.find("可代教师") != query.npos;
        if (work || !workTable) out += std::string(q) + "\n" + db.all(q) + "\n";
    }
    return out;
}

// A random day on a random small school: tallies, an extra exempt teacher, teachers away in
// free periods and the absences themselves, one teacher or several.
struct RandomDay {
    std::string weekday;
    bool several = false;
    std::vector<std::string> absent;
    std::map<std::string, std::string> reasons;
};

RandomDay makeDay(TempStore& db, std::uint32_t seed) {
    std::mt19937 rnd(seed);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    // Small schools; a staff too small for its classes' timetable is made a little larger.
    demo::School school;
    for (int n = 14 + pick(12);; n += 2) {
        auto plan = demo::planFor(n);
        plan.seed = seed;
        try {
            school = demo::fillSchool(*db, plan);
            break;
        } catch (const std::exception&) {
        }
    }
    Store& s = *db;
    RandomDay day;
    day.weekday = std::to_string(1 + pick(5));
    day.several = pick(2) == 1;
    // Tallies from earlier days, so that the ordering has something to tell apart.
    for (const auto& t : school.teachers)
        s.exec("UPDATE 代课节数 SET 当日代课=?, 学期代课=? WHERE 姓名=?",
               {Value(pick(3) == 0 ? 1 : 0), Value(pick(6)), Value(t)});
    if (pick(2))
        s.exec("INSERT INTO 公出表 VALUES (?)",
               {Value(school.teachers[pick(static_cast<int>(school.teachers.size()))])});
    for (int k = pick(4); k > 0; --k)
        leave::recordAway(
            s,
            school
                .teachers[static_cast<std::size_t>(pick(static_cast<int>(school.teachers.size())))],
            1 + pick(6), true);
    const int count = day.several ? 2 + pick(3) : 1;
    while (static_cast<int>(day.absent.size()) < count) {
        const auto& t =
            school
                .teachers[static_cast<std::size_t>(pick(static_cast<int>(school.teachers.size())))];
        if (std::find(day.absent.begin(), day.absent.end(), t) != day.absent.end()) continue;
        if (assignment::loadDay(s, t, day.weekday).empty()) continue;
        day.absent.push_back(t);
        day.reasons[t] = pick(2) ? "病假" : "公出";
    }
    // Half the time the office ticks the absent teachers' free periods too (away all day);
    // otherwise they stand as free then, and only the rule against absent teachers keeps
    // them from being proposed.
    const bool wholeDay = pick(2) == 1;
    for (const auto& t : day.absent) {
        if (day.several && wholeDay) {
            std::set<int> teaching;
            for (const auto& l : assignment::loadDay(s, t, day.weekday)) teaching.insert(l.period);
            for (int p = 1; p <= 6; ++p)
                if (!teaching.count(p)) leave::recordAway(s, t, p, true);
        }
        for (const auto& l : assignment::loadDay(s, t, day.weekday)) {
            const bool queued = pick(4) != 0;
            if (day.several && queued) {
                s.exec("INSERT INTO 需代课目情况 VALUES (?,?,?,?,?)",
                       {Value(t), Value(std::stoi(day.weekday)), Value(l.cls), Value(l.period),
                        Value(l.subject)});
                leave::recordAway(s, t, l.period, false);
            } else if (!queued) {
                // Held back from cover (several teachers) or covered earlier (one teacher).
                s.exec("UPDATE 任课情况 SET 标记=1 WHERE 姓名=? AND 星期=? AND 节次=?",
                       {Value(t), Value(std::stoi(day.weekday)), Value(l.period)});
            }
        }
    }
    return day;
}

std::vector<dayplan::OpenLesson> lessonsOf(Store& s, const RandomDay& day) {
    return day.several ? dayplan::queuedLessons(s, day.weekday)
                       : dayplan::teacherLessons(s, day.absent[0], day.weekday);
}

// The operator by hand: each lesson in turn, the first row of its ranking that is not one of
// the day's absent teachers, confirmed.
std::vector<std::string> manual(Store& s, const RandomDay& day) {
    std::vector<std::string> chosen;
    for (const auto& l : lessonsOf(s, day)) {
        std::string first;
        for (const auto& c : ranking::rank(s, day.weekday, l.period, l.cls).rows)
            if (std::find(day.absent.begin(), day.absent.end(), c.name) == day.absent.end()) {
                first = c.name;
                break;
            }
        chosen.push_back(first);
        if (first.empty()) continue;
        assignment::recordCover(s,
                                {l.absent, day.reasons.at(l.absent), first, "5", day.weekday, l.cls,
                                 l.subject, l.period},
                                day.several);
    }
    return chosen;
}

TEST(DayProposal, EqualsRowOneConfirmedLessonByLessonOnRandomSchools) {
    for (std::uint32_t seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempStore a, b;
        const auto day = makeDay(a, seed);
        makeDay(b, seed);
        ASSERT_EQ(tables(a), tables(b));

        const auto before = tables(a);
        const auto rows = dayplan::propose(*a, day.weekday, lessonsOf(*a, day), {}, day.several);
        EXPECT_EQ(tables(a), before) << "the proposal itself wrote something";

        const auto byHand = manual(*b, day);
        ASSERT_EQ(rows.size(), byHand.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i].substitute() ? rows[i].substitute()->name : "", byHand[i]) << i;

        const int recorded =
            dayplan::confirm(*a, {"5", day.weekday, day.reasons, day.several}, rows);
        EXPECT_EQ(recorded, static_cast<int>(std::count_if(byHand.begin(), byHand.end(),
                                                           [](auto& n) { return !n.empty(); })));
        EXPECT_EQ(tables(a, false), tables(b, false));

        // Whole-day invariants: every record is a lesson of its absent teacher that weekday;
        // nobody covers twice in a period nor while teaching, exempt or away; tallies follow.
        EXPECT_EQ(
            a.one("SELECT count(*) FROM 当天代课记录 r WHERE NOT EXISTS (SELECT 1 FROM 任课情况 "
                  "k WHERE k.姓名=r.被代 AND k.星期=r.星期 AND k.节次=r.节次 AND k.班级=r.班级 "
                  "AND k.已代标记=1)"),
            "0");
        EXPECT_EQ(a.one("SELECT count(*) FROM (SELECT 1 FROM 当天代课记录 GROUP BY 代者, 节次 "
                        "HAVING count(*) > 1)"),
                  "0");
        EXPECT_EQ(
            a.one("SELECT count(*) FROM 当天代课记录 r WHERE EXISTS (SELECT 1 FROM 任课情况 k "
                  "WHERE k.姓名=r.代者 AND k.星期=r.星期 AND k.节次=r.节次) OR r.代者 IN "
                  "(SELECT 姓名 FROM 公出表)"),
            "0");
        for (const auto& t : day.absent)
            EXPECT_EQ(a.one("SELECT count(*) FROM 当天代课记录 WHERE 代者='" + t + "'"), "0");
    }
}

// Under 代课规则, on the same random schools: a first choice never passes a limit nor, when the
// school forbids it, gives two lessons in a row; a lesson stays open only when no candidate is
// allowed; with 均衡安排 nobody gets a second cover while a colleague of the same affinity
// class with none is allowed in that period. Confirming records exactly what was proposed.
TEST(DayProposal, RulesHoldOnRandomSchools) {
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempStore a;
        const auto day = makeDay(a, seed);
        rules::CoverRules r;
        r.perDay = 1 + static_cast<int>(seed % 2);
        if (seed % 4 == 0) r.perWeek = 2;
        r.inARow = seed % 3 != 0;
        r.balanced = seed % 2 == 0;
        ASSERT_TRUE(rules::save(*a, r));
        const int weekday = std::stoi(day.weekday);
        const auto before = coverload::DayLoads::read(*a, "5", weekday);
        const auto rows =
            dayplan::propose(*a, {"5", day.weekday, {}, day.several}, lessonsOf(*a, day));

        std::map<std::string, int> given;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE("row " + std::to_string(i));
            const auto& row = rows[i];
            ASSERT_EQ(row.standings.size(), row.candidates.size());
            const int first = coverload::firstAllowed(row.standings, r, row.lesson.period);
            EXPECT_EQ(row.chosen, first);
            const auto* sub = row.substitute();
            if (!sub) continue;
            const auto& st = *row.standing();
            EXPECT_EQ(st.limit, coverload::Limit::None);
            if (!r.inARow) {
                EXPECT_FALSE(coverload::inARow(st.load, row.lesson.period));
            }
            ++given[sub->name];
            if (r.balanced && st.load.today > 0) {
                for (std::size_t j = 0; j < row.candidates.size(); ++j) {
                    EXPECT_FALSE(
                        row.candidates[j].classMark == sub->classMark &&
                        row.standings[j].load.today == 0 &&
                        row.standings[j].limit == coverload::Limit::None &&
                        (r.inARow || !coverload::inARow(row.standings[j].load, row.lesson.period)))
                        << row.candidates[j].name << " had none and was passed over";
                }
            }
        }
        for (const auto& [name, n] : given) {
            const auto was = before.of(name);
            EXPECT_LE(was.today + n, *r.perDay) << name;
            if (r.perWeek) {
                EXPECT_LE(was.week + n, *r.perWeek) << name;
            }
        }
        const int recorded =
            dayplan::confirm(*a, {"5", day.weekday, day.reasons, day.several}, rows);
        int placed = 0;
        for (const auto& [name, n] : given) placed += n;
        EXPECT_EQ(recorded, placed);
    }
}

// The demo school's Wednesday with 任红, 何凯晶 and 余伟 away for all their lessons, as the
// office enters it in 多人代课.
struct DemoDay {
    TempStore db;
    std::vector<std::string> staff;
    DemoDay() {
        const auto school = demo::fillSchool(*db, demo::demoPlan());
        for (const auto& t : school.teachers)
            if (std::find(school.exempt.begin(), school.exempt.end(), t) == school.exempt.end())
                staff.push_back(t);
        for (const char* t : {"任红", "何凯晶", "余伟"})
            for (const auto& l : assignment::loadDay(*db, t, "3")) {
                db->exec("INSERT INTO 需代课目情况 VALUES (?,3,?,?,?)",
                         {Value(t), Value(l.cls), Value(l.period), Value(l.subject)});
                leave::recordAway(*db, t, l.period, false);
            }
    }
    // The largest number of covers one teacher gets, and their spread over the staff.
    std::pair<int, double> load(const std::vector<dayplan::Row>& rows) const {
        std::map<std::string, int> n;
        for (const auto& r : rows)
            if (r.substitute()) ++n[r.substitute()->name];
        int most = 0;
        double sum = 0, squares = 0;
        for (const auto& t : staff) {
            const int k = n.count(t) ? n.at(t) : 0;
            most = std::max(most, k);
            sum += k;
            squares += k * k;
        }
        const double mean = sum / static_cast<double>(staff.size());
        return {most, std::sqrt(squares / static_cast<double>(staff.size()) - mean * mean)};
    }
};

TEST(DayProposal, DemoDayUnderTheRules) {
    DemoDay d;
    const dayplan::Day day{"5", "3", {}, true};
    const auto lessons = dayplan::queuedLessons(*d.db, "3");
    ASSERT_EQ(lessons.size(), 10u);

    // The plain rules: row 1 of each lesson's ranking, one teacher given most of the day.
    const auto plain = dayplan::propose(*d.db, day, lessons);
    auto chosen = [](const std::vector<dayplan::Row>& rows) {
        std::vector<std::string> out;
        for (const auto& r : rows) out.push_back(r.substitute() ? r.substitute()->name : "");
        return out;
    };
    EXPECT_EQ(chosen(plain), chosen(dayplan::propose(*d.db, "3", lessons, {}, true)));
    for (const auto& r : plain) {
        ASSERT_TRUE(r.substitute());
        EXPECT_EQ(r.chosen, 0);
    }
    const auto [plainMost, plainSpread] = d.load(plain);

    rules::CoverRules capped;
    capped.perDay = 2;
    ASSERT_TRUE(rules::save(*d.db, capped));
    const auto underCap = dayplan::propose(*d.db, day, lessons);
    EXPECT_LE(d.load(underCap).first, 2);
    for (const auto& r : underCap)
        if (!r.substitute()) {
            EXPECT_EQ(coverload::firstAllowed(r.standings, capped, r.lesson.period), -1);
        }

    rules::CoverRules balanced;
    balanced.balanced = true;
    ASSERT_TRUE(rules::save(*d.db, balanced));
    const auto spread = dayplan::propose(*d.db, day, lessons);
    const auto [spreadMost, spreadSpread] = d.load(spread);
    EXPECT_LT(spreadMost, plainMost);
    EXPECT_LT(spreadSpread, plainSpread);
    int placedPlain = 0, placedSpread = 0;
    for (const auto& r : plain) placedPlain += r.substitute() ? 1 : 0;
    for (const auto& r : spread) placedSpread += r.substitute() ? 1 : 0;
    EXPECT_EQ(placedSpread, placedPlain);
    RecordProperty("plain_most", plainMost);
    RecordProperty("balanced_most", spreadMost);
    std::printf("demo day: plain most %d sd %.3f; balanced most %d sd %.3f\n", plainMost,
                plainSpread, spreadMost, spreadSpread);
}

// --- a small school written by hand ------------------------------------------------------

class DayPlanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // 张 is away on Wednesday; 李 is head teacher of 一(1), 王 teaches its 数学, 赵 and
        // 钱 are free colleagues.
        SchoolBuilder(*db)
            .teacher("张", {nullptr, nullptr, nullptr, nullptr, nullptr})
            .teacher("李", {"一(1)", "一(1)", nullptr, nullptr, nullptr})
            .teacher("王", {nullptr, nullptr, "一(1),一(2)", nullptr, nullptr})
            .teacher("赵", {nullptr, nullptr, nullptr, nullptr, nullptr})
            .teacher("钱", {nullptr, nullptr, nullptr, nullptr, nullptr})
            .lesson("张", 3, "一(1)", 1, "语文")
            .lesson("张", 3, "一(2)", 2, "数学")
            .lesson("张", 3, "一(1)", 4, "语文")
            .lesson("赵", 3, "二(1)", 3, "体育")
            .cells("空课教师表", {{"31", "李"}, {"32", "李"}, {"34", "李"}})
            .cells("空课教师表", {{"31", "王"}, {"32", "王"}, {"34", "王"}})
            .cells("空课教师表", {{"31", "赵"}, {"32", "赵"}, {"34", "赵"}})
            .cells("空课教师表", {{"31", "钱"}, {"32", "钱"}, {"34", "钱"}})
            .row("每日节数表", {"张", 3, 3, 3, 3, 3, 15})
            .row("每日节数表", {"李", 2, 2, 2, 2, 2, 10})
            .row("每日节数表", {"王", 2, 2, 2, 2, 2, 10})
            .row("每日节数表", {"赵", 1, 1, 1, 1, 1, 5})
            .row("每日节数表", {"钱", 3, 3, 3, 3, 3, 15})
            .tallies({"张", "李"})
            .tally("王", 0, 4)
            .tally("赵", 0, 1)
            .tally("钱", 0, 0)
            .build();
    }
    std::vector<dayplan::Row> propose(const std::vector<dayplan::Pick>& picks = {}) {
        return dayplan::propose(*db, "3", dayplan::teacherLessons(*db, "张", "3"), picks);
    }
    static std::string names(const std::vector<dayplan::Row>& rows) {
        std::string s;
        for (const auto& r : rows)
            s += (s.empty() ? "" : ",") + (r.substitute() ? r.substitute()->name : "-");
        return s;
    }
    static std::string join(const std::vector<std::string>& v) {
        std::string s;
        for (const auto& x : v) s += (s.empty() ? "" : " ") + x;
        return s;
    }
    TempStore db;
};

TEST_F(DayPlanTest, ReasonsInTheOfficesWords) {
    const auto rows = propose();
    ASSERT_EQ(names(rows), "李,王,李");
    EXPECT_EQ(join(rows[0].why), "本班班主任 任本班语文 本学期代课最少");
    EXPECT_EQ(join(rows[1].why), "任本班数学");
    // Period 1 gave 李 a cover: for period 4 he is still first as head teacher, but no longer
    // the one with the fewest covers this term.
    EXPECT_EQ(join(rows[2].why), "本班班主任 任本班语文");
    // 赵 has a lesson in period 3 and the fewest lessons: third for period 4, shown with both.
    ASSERT_GE(rows[2].candidates.size(), 3u);
    EXPECT_EQ(join(dayplan::reasonsFor(rows[2].candidates, 2)), "本日课最少 上一节有课");
    EXPECT_EQ(join(dayplan::reasonsFor(rows[2].candidates, 99)), "");
}

TEST_F(DayPlanTest, AChangedRowRanksTheLaterRowsAgainAndLostPicksFallBack) {
    // Period 1 changed to 赵: the later rows see his cover of today.
    auto rows = propose({dayplan::Pick::of("赵")});
    EXPECT_EQ(names(rows), "赵,王,李");
    ASSERT_EQ(rows[2].candidates.size(), 4u);
    EXPECT_EQ(rows[2].candidates[2].name, "赵");
    EXPECT_EQ(rows[2].candidates[2].coversToday.toInt(), 1);
    // Leave period 2 open; pin period 4 on 钱.
    rows = propose({dayplan::Pick::first(), dayplan::Pick::open(), dayplan::Pick::of("钱")});
    EXPECT_EQ(names(rows), "李,-,钱");
    EXPECT_FALSE(rows[2].pickLost);
    // A teacher who cannot take the lesson (not free then) is not forced on it.
    rows = propose({dayplan::Pick::of("张")});
    EXPECT_TRUE(rows[0].pickLost);
    EXPECT_EQ(names(rows), "李,王,李");
}

TEST_F(DayPlanTest, ConfirmRecordsTheChosenRowsAndLeavesOpenOnesQueued) {
    SchoolBuilder(*db)
        .queued("张", 3, "一(1)", 1, "语文")
        .queued("张", 3, "一(2)", 2, "数学")
        .queued("张", 3, "一(1)", 4, "语文")
        .build();
    auto rows = dayplan::propose(*db, "3", dayplan::queuedLessons(*db, "3"),
                                 {dayplan::Pick::first(), dayplan::Pick::open()}, true);
    EXPECT_EQ(dayplan::confirm(*db, {"7", "3", {{"张", "事假"}}, true}, rows), 2);
    EXPECT_EQ(db.all("SELECT * FROM 代课记录"),
              "张|事假|李|7|3|一(1)|语文|1;张|事假|李|7|3|一(1)|语文|4");
    EXPECT_EQ(db.all("SELECT 姓名,节次 FROM 需代课目情况"), "张|2");
    EXPECT_EQ(db.all("SELECT 当日代课,学期代课 FROM 代课节数 WHERE 姓名='李'"), "2|2");
}

TEST_F(DayPlanTest, ConfirmWritesNothingWhenTheDayChangedOrAReasonIsMissing) {
    const auto rows = propose();
    // Meanwhile 王 was booked in period 2 elsewhere: his row can no longer stand.
    leave::recordAway(*db, "王", 2, true);
    const auto before = tables(db);
    try {
        dayplan::confirm(*db, {"7", "3", {{"张", "病假"}}, false}, rows);
        FAIL() << "confirmed a teacher who is away";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("王"), std::string::npos);
    }
    EXPECT_EQ(tables(db), before);
    leave::withdraw(*db, "王", {false, true, false, false, false, false});
    EXPECT_THROW(dayplan::confirm(*db, {"7", "3", {}, false}, rows), Failure);
    EXPECT_EQ(db.count("代课记录"), 0);
}

TEST_F(DayPlanTest, AnAbsentColleagueIsNeverProposedEvenWhenFreeThen) {
    // 李 is away for a lesson in period 5 only; the entry did not tick his free period 1.
    SchoolBuilder(*db)
        .queued("张", 3, "一(1)", 1, "语文")
        .queued("李", 3, "一(3)", 5, "语文")
        .build();
    auto rows = dayplan::propose(*db, "3", dayplan::queuedLessons(*db, "3"), {}, true);
    EXPECT_EQ(names(rows), "王,-");
    for (const auto& c : rows[0].candidates) EXPECT_NE(c.name, "李");
    // Nor one covered earlier today in the one-teacher mode.
    SchoolBuilder(*db)
        .cover("当天代课记录", "王", "病假", "赵", "5", 3, "一(2)", "美术", 6)
        .build();
    EXPECT_EQ(names(propose()), "李,赵,李");
}

TEST_F(DayPlanTest, NoEligibleTeacherLeavesTheLessonOpen) {
    SchoolBuilder(*db)
        .row("公出表", {"李"})
        .row("公出表", {"王"})
        .row("公出表", {"赵"})
        .row("公出表", {"钱"})
        .build();
    const auto rows = propose();
    EXPECT_EQ(names(rows), "-,-,-");
    EXPECT_EQ(dayplan::confirm(*db, {"7", "3", {{"张", "病假"}}, false}, rows), 0);
    EXPECT_EQ(db.count("代课记录"), 0);
}

// --- today's board -----------------------------------------------------------------------

TEST(DayBoard, CoverAndWaitingLessonsByPeriodWithReasonsAndFreePeriodLeave) {
    TempStore db;
    SchoolBuilder(*db)
        .cover("当天代课记录", "张", "病假", "李", "5", 3, "一(2)", "数学", 2)
        .cover("当天代课记录", "张", "公出", "王", "5", 3, "一(1)", "语文", 1)
        .cover("当天代课记录", "孙", "事假", "李", "5", 3, "二(1)", "英语", 4)
        .cover("当天代课记录", "张", "病假", "钱", "4", 3, "一(1)", "语文", 1)
        .cover("当天代课记录", "张", "病假", "钱", "5", 2, "一(1)", "语文", 1)
        .queued("周", 3, "三(1)", 2, "科学")
        .queued("周", 3, "一(1)", 2, "美术")
        .queued("周", 4, "三(1)", 2, "科学")
        .build();
    leave::recordAway(*db, "吴", 5, true);
    leave::recordAway(*db, "吴", 3, true);
    leave::recordAway(*db, "李", 2, false);  // covering: not away
    leave::recordAway(*db, "孙", 1, true);   // absent: listed above already
    const auto b = board::load(*db, 5, 3);
    std::string lines;
    for (const auto& l : b.lines)
        lines += std::to_string(l.period) + l.cls + l.absent + l.substitute +
                 (l.waiting ? "!" : "") + ";";
    EXPECT_EQ(lines, "1一(1)张王;2一(1)周!;2一(2)张李;2三(1)周!;4二(1)孙李;");
    EXPECT_EQ(b.covered(), 3);
    EXPECT_EQ(b.waiting(), 2);
    EXPECT_EQ(b.otherDays, 2);
    ASSERT_EQ(b.absent.size(), 3u);
    EXPECT_EQ(b.absent[0].name + b.absent[0].reason, "张公出、病假");
    EXPECT_EQ(b.absent[1].name + b.absent[1].reason, "周");
    EXPECT_EQ(b.absent[2].name + b.absent[2].reason, "孙事假");
    ASSERT_EQ(b.away.size(), 1u);
    EXPECT_EQ(b.away[0].name + board::periodList(b.away[0].periods), "吴第3、5节");
}

TEST(DayBoard, AnEmptyDay) {
    TempStore db;
    const auto b = board::load(*db, 1, 1);
    EXPECT_TRUE(b.lines.empty());
    EXPECT_TRUE(b.absent.empty());
    EXPECT_TRUE(b.away.empty());
}

}  // namespace
}  // namespace daike
