// A busy day: 30 cover notices filled into the office's template and written to PDF. The
// office's old word processor typed twenty cells per notice while the operator waited; this
// should take well under a second.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "documents/notice_template.h"
#include "documents/notices.h"
#include "documents/page_model.h"
#include "ui/document_renderer.h"

namespace daike {
namespace {

void BM_ThirtyNoticesToPdf(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string templatePath = dir.filePath("输出文件.docx").toStdString();
    defaultNoticeTemplate().save(templatePath);
    // A school that set its periods' times: every lesson line carries one.
    week::PerPeriod<periodtimes::StoredTimes> stored{};
    for (int p = 1; p <= week::kPeriods; ++p)
        stored[static_cast<std::size_t>(p - 1)] = {clockText(420 + 50 * p),
                                                   clockText(460 + 50 * p)};
    const auto times = periodTimesOf(stored);
    std::vector<Notice> notices;
    for (int i = 0; i < 30; ++i)
        notices.push_back(noticeOf({"李明" + std::to_string(i), "病假", "王芳" + std::to_string(i),
                                    "3", 1 + i % 5, "三(2)", "语文", 1 + i % 6},
                                   calendar::makeDay(2026, 3, 2), times));
    const QString pdf = dir.filePath("代课通知.pdf");
    for (auto _ : state) {
        auto doc = WordDocument::open(templatePath);
        fillNotices(doc, notices);
        doc.save(dir.filePath("输出文件-已填.docx").toStdString());
        DocumentRenderer renderer(pageModel(doc));
        if (!renderer.writePdf(pdf, "代课通知", 60)) state.SkipWithError("PDF not written");
    }
}
BENCHMARK(BM_ThirtyNoticesToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace daike

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
