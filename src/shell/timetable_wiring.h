#pragma once

namespace daike {
class MainWindow;
// 输出或打印 → 班级课表 / 教师课表 (print, preview, PDF) and 基础数据 → 导出课表….
void wireTimetableMenu(MainWindow& main);
}  // namespace daike
