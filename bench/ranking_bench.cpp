// What one period click costs (the candidate computation), and the two initialisations that
// walk the whole timetable, on the demo school and on larger schools made the same way.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "basedata/demo_school.h"
#include "engine/ranking.h"
#include "school/resets.h"
#include "store/store.h"

namespace {

using namespace daike;

// One database per school size, made once and removed at the end of the run.
struct BenchSchool {
    std::filesystem::path dir;
    std::unique_ptr<Store> store;
    demo::School school;
    ~BenchSchool() {
        store.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

BenchSchool& school(int teachers) {
    static std::map<int, std::unique_ptr<BenchSchool>> made;
    auto& s = made[teachers];
    if (!s) {
        s = std::make_unique<BenchSchool>();
        s->dir = std::filesystem::temp_directory_path() /
                 ("daike-bench-" + std::to_string(::getpid()) + "-" + std::to_string(teachers));
        std::filesystem::create_directories(s->dir);
        s->store = Store::open(s->dir);
        const auto plan = teachers == 0 ? demo::demoPlan() : demo::planFor(teachers);
        s->school = demo::fillSchool(*s->store, plan);
    }
    return *s;
}

// Argument 0 is the demo school (45 teachers).
void sizes(benchmark::internal::Benchmark* b) {
    for (int n : {0, 64, 256, 1024}) b->Arg(n);
}

void setTeachers(benchmark::State& state, BenchSchool& s) {
    state.counters["teachers"] = static_cast<double>(s.school.teachers.size());
}

void BM_Ranking(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)));
    setTeachers(state, s);
    // Wednesday period 4, a class in the middle of the school.
    const auto& cls = s.school.classes[s.school.classes.size() / 2];
    std::size_t candidates = 0;
    for (auto _ : state) {
        auto r = ranking::rank(*s.store, "3", 4, cls);
        candidates = r.rows.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_Ranking)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_Paging(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)));
    setTeachers(state, s);
    ranking::rank(*s.store, "3", 4, s.school.classes.front());
    for (auto _ : state) benchmark::DoNotOptimize(ranking::rankedRows(*s.store));
}
BENCHMARK(BM_Paging)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_FreeTeacherBuild(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)));
    setTeachers(state, s);
    for (auto _ : state) buildFreeTeachers(*s.store);
}
BENCHMARK(BM_FreeTeacherBuild)->Apply(sizes)->Unit(benchmark::kMillisecond);

void BM_DailyCounts(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)));
    setTeachers(state, s);
    for (auto _ : state) countDailyLessons(*s.store);
}
BENCHMARK(BM_DailyCounts)->Apply(sizes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
