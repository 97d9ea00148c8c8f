#pragma once

namespace daike {
class MainWindow;
// Today's board for the group and the staff room: 保存为图片… (the board's button and the
// 当日代课安排表 submenu) and 全屏显示.
void wireBoardPictureAndScreen(MainWindow& main);
}  // namespace daike
