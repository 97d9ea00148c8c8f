#pragma once

namespace daike {
class MainWindow;
// 输出或打印 → 每人一张代课单 (print, preview, PDF) and the board's 打印代课单.
void wireSlipsMenu(MainWindow& main);
}  // namespace daike
