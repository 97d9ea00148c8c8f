// What a swap costs the office's clicks: the 可调课 list of one lesson (the class's lessons of
// six school days checked against both teachers), and one lesson ranked in a term holding many
// swaps, on the demo school and on larger schools made the same way.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "basedata/demo_school.h"
#include "engine/ranking.h"
#include "engine/swaps.h"
#include "school/term_start.h"
#include "store/store.h"
#include "store/tables/swaps.h"
#include "store/tables/timetable.h"

namespace {

using namespace daike;

struct SwapSchool {
    std::filesystem::path dir;
    std::unique_ptr<Store> store;
    demo::School school;
    ~SwapSchool() {
        store.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

// A school of the size, with 300 swaps over the term's first twenty weeks when asked.
SwapSchool& school(int teachers, bool swapsMade) {
    static std::map<std::pair<int, bool>, std::unique_ptr<SwapSchool>> made;
    auto& s = made[{teachers, swapsMade}];
    if (!s) {
        s = std::make_unique<SwapSchool>();
        s->dir = std::filesystem::temp_directory_path() /
                 ("daike-swap-bench-" + std::to_string(::getpid()) + "-" +
                  std::to_string(teachers) + (swapsMade ? "s" : ""));
        std::filesystem::create_directories(s->dir);
        s->store = Store::open(s->dir);
        s->school =
            demo::fillSchool(*s->store, teachers == 0 ? demo::demoPlan() : demo::planFor(teachers));
        if (swapsMade) {
            const auto lessons = timetable::read(*s->store);
            const auto start = readTermStartText(*s->store).value_or("");
            s->store->transaction([&] {
                for (int i = 0; i < 300; ++i) {
                    const auto& a = lessons[static_cast<std::size_t>(i * 7) % lessons.size()];
                    const auto& b = lessons[static_cast<std::size_t>(i * 13 + 5) % lessons.size()];
                    SwapRecord w;
                    w.termStart = start;
                    w.first = {1 + i % 20, a.weekday, a.period};
                    w.second = Slot{1 + i % 20, b.weekday, b.period};
                    w.cls = a.cls;
                    w.teacher = a.teacher;
                    w.subject = a.subject;
                    w.colleague = b.teacher;
                    w.colleagueSubject = b.subject;
                    w.paidBack = true;
                    swaps::add(*s->store, w);
                }
            });
        }
    }
    return *s;
}

void sizes(benchmark::internal::Benchmark* b) {
    for (int n : {0, 256, 1024}) b->Arg(n);
}

void BM_SwapCandidates(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)), true);
    state.counters["teachers"] = static_cast<double>(s.school.teachers.size());
    // The first Wednesday lesson of a class in the middle of the school, in week 5.
    LessonFilter f;
    f.cls = s.school.classes[s.school.classes.size() / 2];
    f.weekday = 3;
    const auto lesson = timetable::byPeriod(*s.store, f).front();
    const swapping::LessonAt at{lesson.teacher, lesson.cls, lesson.subject, {5, 3, lesson.period}};
    const SchoolDay day{5, true, 3};
    std::size_t found = 0;
    for (auto _ : state) {
        auto c = swapping::candidates(*s.store, at, day, 5, true);
        found = c.size();
        benchmark::DoNotOptimize(c);
    }
    state.counters["candidates"] = static_cast<double>(found);
}
BENCHMARK(BM_SwapCandidates)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// One lesson ranked with the day's week known, in a term without swaps and with 300.
void BM_RankingWithSwaps(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)), state.range(1) != 0);
    const auto& cls = s.school.classes[s.school.classes.size() / 2];
    for (auto _ : state) benchmark::DoNotOptimize(ranking::rank(*s.store, "3", 4, cls, "5"));
    state.counters["swaps"] = state.range(1) ? 300 : 0;
}
BENCHMARK(BM_RankingWithSwaps)
    ->ArgsProduct({{0, 256, 1024}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
