// A busy day for the teachers' group: 30 covers (two of them still waiting) read from the store
// and drawn as the phone-sized PNG of the day's sheet. The office clicks 保存为图片… and posts
// it at once; it should take no more than 300 ms.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "engine/day_board.h"
#include "store/store.h"
#include "windows/main/day_sheet_picture.h"

namespace daike {
namespace {

void BM_ThirtyCoverDayPicture(benchmark::State& state) {
    QTemporaryDir dir;
    auto store = Store::open(dir.path().toStdString());
    store->execScript(
        "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k+1 FROM n WHERE k<27) "
        "INSERT INTO 当天代课记录 SELECT '缺课'||(k/3+1),CASE k%2 WHEN 0 THEN '病假' ELSE '事假' "
        "END,'代课'||k,'15',3,printf('%s(%d)',substr('一二三四五六',1+k%6,1),1+k%4),"
        "substr('语文数学英语科学音乐美术体育',1+2*(k%7),2),1+k%6 FROM n;"
        "INSERT INTO 需代课目情况 VALUES "
        "('缺课3',3,'六(2)',5,'数学'),('缺课4',3,'五(1)',6,'语文');");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto b = board::load(*store, 15, 3);
        const QByteArray png = daySheetPng(b, QStringLiteral("2026年12月9日"));
        bytes = static_cast<std::size_t>(png.size());
        if (b.lines.size() != 30) state.SkipWithError("not a 30-cover day");
    }
    state.counters["png_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ThirtyCoverDayPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace daike
