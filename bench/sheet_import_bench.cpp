// Importing the whole timetable from one spreadsheet: a school of 64 and of 1,024 teachers
// exported as .xlsx, then read, checked against the school and made ready for the preview, as
// 导入总课表 does before the office presses 确定.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "basedata/demo_school.h"
#include "basedata/sheet_import.h"
#include "basedata/timetable_export.h"
#include "store/store.h"

namespace {

using namespace daike;
namespace fs = std::filesystem;

struct SheetSchool {
    fs::path dir, file;
    std::unique_ptr<Store> store;
    explicit SheetSchool(int teachers) {
        dir = fs::temp_directory_path() /
              ("daike-bench-sheet-" + std::to_string(::getpid()) + "-" + std::to_string(teachers));
        fs::create_directories(dir);
        store = Store::open(dir);
        demo::fillSchool(*store, demo::planFor(teachers));
        file = dir / "总课表.xlsx";
        timetable_export::write(*store, file);
    }
    ~SheetSchool() {
        store.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

SheetSchool& school(int teachers) {
    static std::map<int, std::unique_ptr<SheetSchool>> made;
    auto& s = made[teachers];
    if (!s) s = std::make_unique<SheetSchool>(teachers);
    return *s;
}

void BM_SheetImportPreview(benchmark::State& state) {
    auto& s = school(static_cast<int>(state.range(0)));
    std::size_t lessons = 0;
    for (auto _ : state) {
        const auto loaded = sheet_import::load(s.file);
        const auto preview =
            sheet_import::check(loaded, std::nullopt, sheet_import::schoolOf(*s.store));
        if (!preview) state.SkipWithError("no layout found");
        const auto plan = sheet_import::planOf(*s.store, *preview, true);
        lessons = plan.rows.size();
        benchmark::DoNotOptimize(lessons);
    }
    state.counters["lessons"] = static_cast<double>(lessons);
}
BENCHMARK(BM_SheetImportPreview)->Arg(64)->Arg(1024)->Unit(benchmark::kMillisecond);

}  // namespace
