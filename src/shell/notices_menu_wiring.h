#pragma once

namespace daike {
class MainWindow;
class DayBoardView;
// 输出或打印: the record viewer on the main window and the printed notices (print, preview, PDF):
// those of this visit of the assignment screen, and those of the whole working day (今天全部
// 代课通知); today's board's 重打… reprints one cover's notice.
void wireNoticesMenu(MainWindow& main);
void wireReprintButton(MainWindow& main, DayBoardView& board);
// FormCD, the reprint of one cover's notice.
void openReprint(MainWindow& main);
}  // namespace daike
