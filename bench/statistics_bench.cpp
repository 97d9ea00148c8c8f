// The statistics window reads the whole term each time it is shown or its range changes, and
// the workbook of a large school must save at once.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "statistics/exports.h"
#include "statistics/figures.h"
#include "statistics/tables.h"
#include "store/store.h"

namespace {

using namespace daike;

struct Term {
    std::filesystem::path dir;
    std::unique_ptr<Store> store;
    Term(int teachers, int records) {
        dir = std::filesystem::temp_directory_path() /
              ("daike-bench-stats-" + std::to_string(teachers) + "-" + std::to_string(records));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        store = Store::open(dir);
        const char* reasons[] = {"病假", "事假", "公出", "培训"};
        std::mt19937 rng(7);
        store->transaction([&] {
            for (int t = 0; t < teachers; ++t) {
                const std::string name = "教师" + std::to_string(t);
                store->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {name});
                store->exec("INSERT INTO 代课节数 VALUES (?, 0, 0)", {name});
            }
            for (int r = 0; r < records; ++r) {
                const int absent = static_cast<int>(rng() % teachers);
                const int sub = static_cast<int>((absent + 1 + rng() % (teachers - 1)) % teachers);
                store->exec("INSERT INTO 代课记录 VALUES (?, ?, ?, ?, ?, '三(2)', '语文', ?)",
                            {"教师" + std::to_string(absent), reasons[rng() % 4],
                             "教师" + std::to_string(sub), std::to_string(1 + rng() % 20),
                             static_cast<int>(1 + rng() % 5), static_cast<int>(1 + rng() % 6)});
            }
            store->exec(
                "UPDATE 代课节数 SET 学期代课=(SELECT count(*) FROM 代课记录 WHERE "
                "代者=代课节数.姓名)");
        });
    }
    ~Term() {
        store.reset();
        std::filesystem::remove_all(dir);
    }
};

// What the window does on opening: the figures, the table per teacher and the chart.
void BM_TermFigures(benchmark::State& state) {
    Term term(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        auto f = statistics::compute(*term.store, statistics::Range::term());
        auto t = statistics::teacherTable(f);
        auto c = statistics::chartOf(f, t);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_TermFigures)->Args({64, 5000})->Unit(benchmark::kMillisecond);

// The workbook with its three sheets.
void BM_Workbook(benchmark::State& state) {
    Term term(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const auto f = statistics::compute(*term.store, statistics::Range::term());
    const std::vector<statistics::Table> sheets = {
        statistics::teacherTable(f), statistics::weekTable(f), statistics::recordTable(f)};
    const auto file = term.dir / "代课统计-本学期.xlsx";
    for (auto _ : state) {
        statistics::writeXlsx(file, sheets, "代课统计（本学期）");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Workbook)->Args({1024, 5000})->Unit(benchmark::kMillisecond);

}  // namespace
