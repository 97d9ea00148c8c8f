// What opening the school's database costs at the start of the program: the file opened with
// its key, the checks that run before the office works with it, and the school calendar read.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "basedata/demo_school.h"
#include "school/term_start.h"
#include "store/store.h"

namespace {

using namespace daike;

struct DemoDir {
    std::filesystem::path dir;
    DemoDir() {
        dir = std::filesystem::temp_directory_path() /
              ("daike-bench-start-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        auto store = Store::open(dir);
        demo::fillSchool(*store, demo::demoPlan());
    }
    ~DemoDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

// Open and close, as one start and end of the program do, on the demo school.
void BM_OpenDemoSchool(benchmark::State& state) {
    static DemoDir demo;
    for (auto _ : state) {
        auto store = Store::open(demo.dir);
        auto now = calendarNow(*store, calendar::makeDay(2026, 9, 30));
        benchmark::DoNotOptimize(now);
    }
}
BENCHMARK(BM_OpenDemoSchool)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The check that every start runs, alone, on the open demo school.
void BM_QuickCheckDemoSchool(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("daike-bench-check-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        auto store = Store::open(dir);
        demo::fillSchool(*store, demo::demoPlan());
        for (auto _ : state) {
            auto rows = store->select("PRAGMA quick_check");
            benchmark::DoNotOptimize(rows);
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_QuickCheckDemoSchool)->Unit(benchmark::kMillisecond);

}  // namespace
