#pragma once

namespace daike {
class MainWindow;
// 输出或打印 → 代课统计: the cover statistics window.
void wireStatisticsMenu(MainWindow& main);
}  // namespace daike
