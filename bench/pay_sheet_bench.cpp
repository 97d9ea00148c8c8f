// The 代课费发放表 is made again whenever its window is shown, its range changes or a rate is
// saved: a month of a large school must come at once, and the covers of a whole school year
// (past terms from 代课存档) must be read quickly.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "school/resets.h"
#include "school/term_archive.h"
#include "statistics/pay_sheet.h"
#include "store/store.h"
#include "store/tables/settings.h"

namespace {

using namespace daike;

const char* const kSubjects[] = {"语文", "数学", "英语", "早读", "午管", "课后服务", "科学"};

struct School {
    std::filesystem::path dir;
    std::unique_ptr<Store> store;
    explicit School(const std::string& name) {
        dir = std::filesystem::temp_directory_path() / ("daike-bench-pay-" + name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        store = Store::open(dir);
    }
    ~School() {
        store.reset();
        std::filesystem::remove_all(dir);
    }
    // `records` covers among `teachers`, in weeks 1 to `weeks` of the term.
    void addCovers(int teachers, int records, int weeks, unsigned seed) {
        std::mt19937 rng(seed);
        store->transaction([&] {
            for (int r = 0; r < records; ++r) {
                const int absent = static_cast<int>(rng() % teachers);
                const int sub = static_cast<int>((absent + 1 + rng() % (teachers - 1)) % teachers);
                store->exec("INSERT INTO 代课记录 VALUES (?, '病假', ?, ?, ?, '三(2)', ?, ?)",
                            {"教师" + std::to_string(absent), "教师" + std::to_string(sub),
                             std::to_string(1 + rng() % weeks), static_cast<int>(1 + rng() % 5),
                             kSubjects[rng() % 7], static_cast<int>(1 + rng() % 6)});
            }
        });
    }
    void addTeachers(int teachers) {
        store->transaction([&] {
            for (int t = 0; t < teachers; ++t)
                store->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {"教师" + std::to_string(t)});
        });
    }
};

// 1,024 teachers who all covered: 8,000 covers of the autumn term, settled September to
// December at once.
void BM_PaySheet1024(benchmark::State& state) {
    School school("1024");
    school.store->exec("INSERT INTO 开学第一天 VALUES ('2026/8/31')");
    school.addTeachers(1024);
    school.addCovers(1024, 8000, 20, 11);
    settings::setPayRate(*school.store, 30);
    settings::setKindRates(*school.store, {{"早读", 10}, {"午管", 15}, {"课后服务", 20}});
    const auto range = statistics::DateRange::custom(calendar::makeDay(2026, 9, 1),
                                                     calendar::makeDay(2026, 12, 31));
    std::size_t rows = 0;
    for (auto _ : state) {
        auto sheet = statistics::paySheet(*school.store, range);
        auto table = statistics::payTable(*sheet);
        rows = sheet->rows.size();
        benchmark::DoNotOptimize(table);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_PaySheet1024)->Unit(benchmark::kMillisecond);

// A school year kept in 代课存档: 5,000 covers of the autumn term and 5,000 of the spring one.
void BM_CoversBetweenYear(benchmark::State& state) {
    School school("year");
    school.addTeachers(60);
    school.store->exec("INSERT INTO 开学第一天 VALUES ('2025/9/1')");
    school.addCovers(60, 5000, 19, 21);
    clearTermRecords(*school.store);
    school.store->exec("UPDATE 开学第一天 SET 日期 = '2026/2/23'");
    school.addCovers(60, 5000, 19, 22);
    clearTermRecords(*school.store);
    std::size_t covers = 0;
    for (auto _ : state) {
        auto year = coversBetween(*school.store, "2025-09-01", "2026-08-31");
        covers = year.size();
        benchmark::DoNotOptimize(year);
    }
    state.counters["covers"] = static_cast<double>(covers);
}
BENCHMARK(BM_CoversBetweenYear)->Unit(benchmark::kMillisecond);

}  // namespace
