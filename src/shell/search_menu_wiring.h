#pragma once

namespace daike {
class MainWindow;
// The search items of the main menu: 按班查找 (Form11) and 教师查找 (Form12), whose "…" opens the
// teacher picker.
void wireSearchMenu(MainWindow& main);
}  // namespace daike
