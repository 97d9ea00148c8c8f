#pragma once

namespace daike {
class MainWindow;
class DayBoardView;
// 复制通知文字 (FormTZ): opened from today's board, and offered in the status line when the
// assignment screen closes with cover the substitutes have not been told of.
void wireGroupText(MainWindow& main, DayBoardView& board);
// Opens FormTZ (the open one comes forward, reading the day again).
void openGroupText(MainWindow& main);
}  // namespace daike
