#pragma once

namespace daike {
class MainWindow;
// 数据备份 and 数据恢复 under 数据初始化.
void wireSafekeepingMenu(MainWindow& main);
}  // namespace daike
