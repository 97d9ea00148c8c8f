// 开学准备 and the main window: its buttons run the main menu's items, 开始代课 the start-up
// question.
#pragma once

namespace daike {

class MainWindow;

void openTermChecklist(MainWindow& main);

}  // namespace daike
