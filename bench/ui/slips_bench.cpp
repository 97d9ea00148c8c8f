// A busy day's slips: 30 covers among twelve substitutes (or thirty, one slip each), grouped into
// slips and painted to a PDF as the office saves them. Should stay well under 300 ms.
#include <benchmark/benchmark.h>

#include <QPdfWriter>
#include <QTemporaryDir>

#include "documents/slips.h"
#include "windows/main/slip_output.h"

namespace daike {
namespace {

void BM_ThirtyCoverSlipsToPdf(benchmark::State& state) {
    QTemporaryDir dir;
    std::vector<CoverRecord> records;
    for (int i = 0; i < 30; ++i)
        records.push_back({"李明" + std::to_string(i % 10), "病假",
                           "王芳" + std::to_string(i % state.range(0)), "3", 3,
                           "三(" + std::to_string(1 + i % 4) + ")", "语文", 1 + (i / 12) * 2});
    PeriodTimes times;
    for (int p = 1; p <= 6; ++p)
        times.spans[static_cast<std::size_t>(p - 1)] = PeriodSpan{7 * 60 + 50 * p, 8 * 60 + 50 * p};
    const QString pdf = dir.filePath("代课单.pdf");
    for (auto _ : state) {
        const auto slips = slipsOf(records, times, calendar::makeDay(2026, 11, 23));
        QPdfWriter writer(pdf);
        writer.setPageLayout(slipPageLayout());
        writer.setResolution(300);
        const auto painted = paintSlips(writer, slips);
        benchmark::DoNotOptimize(painted.pages);
    }
}
BENCHMARK(BM_ThirtyCoverSlipsToPdf)->Arg(12)->Arg(30)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace daike
