// What 一键安排 costs (the whole day's proposal, 30 open lessons) and what a refresh of today's
// board costs, on the demo school and on larger schools made the same way.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "basedata/demo_school.h"
#include "engine/day_board.h"
#include "engine/day_proposal.h"
#include "school/cover_rules.h"
#include "store/store.h"

namespace {

using namespace daike;

struct DaySchool {
    std::filesystem::path dir;
    std::unique_ptr<Store> store;
    demo::School school;
    std::vector<dayplan::OpenLesson> lessons;
    ~DaySchool() {
        store.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

// A school with 30 Wednesday lessons queued: the lessons of the first teachers of the staff,
// who are entered as away for the periods concerned.
DaySchool& school(int teachers) {
    static std::map<int, std::unique_ptr<DaySchool>> made;
    auto& s = made[teachers];
    if (!s) {
        s = std::make_unique<DaySchool>();
        s->dir = std::filesystem::temp_directory_path() /
                 ("daike-bench-day-" + std::to_string(::getpid()) + "-" + std::to_string(teachers));
        std::filesystem::create_directories(s->dir);
        s->store = Store::open(s->dir);
        s->school =
            demo::fillSchool(*s->store, teachers == 0 ? demo::demoPlan() : demo::planFor(teachers));
        Store& st = *s->store;
        st.transaction([&] {
            for (const auto& t : s->school.teachers) {
                auto rs = st.select("SELECT 班级,节次,课目 FROM 任课情况 WHERE 姓名=? AND 星期=3",
                                    {Value(t)});
                if (rs.empty()) continue;
                for (const auto& r : rs) {
                    if (st.select("SELECT count(*) FROM 需代课目情况")[0][0].toInt() >= 30) break;
                    st.exec("INSERT INTO 需代课目情况 VALUES (?,3,?,?,?)",
                            {Value(t), r[0], r[1], r[2]});
                    st.putFirstFree("代课教师", r[1].text(), Value(t));
                }
            }
        });
        s->lessons = dayplan::queuedLessons(st, "3");
    }
    return *s;
}

void BM_DayProposal(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)));
    state.counters["teachers"] = static_cast<double>(s.school.teachers.size());
    state.counters["lessons"] = static_cast<double>(s.lessons.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(dayplan::propose(*s.store, "3", s.lessons, {}, true));
}
BENCHMARK(BM_DayProposal)->Arg(0)->Arg(64)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

// The same under 代课规则: two covers a day and six a week at most, no two lessons in a row,
// 均衡安排. The rules are taken back after the run.
void BM_DayProposalUnderRules(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)));
    rules::CoverRules r;
    r.perDay = 2;
    r.perWeek = 6;
    r.inARow = false;
    r.balanced = true;
    if (!rules::save(*s.store, r)) state.SkipWithError("the rules were refused");
    const dayplan::Day day{"5", "3", {}, true};
    int placed = 0;
    for (auto _ : state) {
        const auto rows = dayplan::propose(*s.store, day, s.lessons);
        placed = 0;
        for (const auto& row : rows) placed += row.substitute() ? 1 : 0;
        benchmark::DoNotOptimize(rows);
    }
    (void)rules::save(*s.store, {});
    state.counters["teachers"] = static_cast<double>(s.school.teachers.size());
    state.counters["placed"] = placed;
}
BENCHMARK(BM_DayProposalUnderRules)
    ->Arg(0)
    ->Arg(64)
    ->Arg(256)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond);

// The board of the demo school once its 30 lessons are covered (or as many as can be).
void BM_BoardRefresh(benchmark::State& state) {
    auto& s = school(0);
    static bool confirmed = false;
    if (!confirmed) {
        dayplan::Day day{"5", "3", {}, true};
        for (const auto& l : s.lessons) day.reasons[l.absent] = "病假";
        dayplan::confirm(*s.store, day, dayplan::propose(*s.store, "3", s.lessons, {}, true));
        confirmed = true;
    }
    std::size_t lines = 0;
    for (auto _ : state) {
        auto b = board::load(*s.store, 5, 3);
        lines = b.lines.size();
        benchmark::DoNotOptimize(b);
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_BoardRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
