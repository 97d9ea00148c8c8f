#pragma once

namespace daike {
class MainWindow;
// 输出或打印: the record viewer on the main window and the printed notices (print, preview, PDF).
void wireNoticesMenu(MainWindow& main);
}  // namespace daike
