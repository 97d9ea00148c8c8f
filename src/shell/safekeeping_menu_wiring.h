#pragma once

namespace daike {
class MainWindow;
// 数据备份: a consistent copy of the open database to a file the operator names.
void backUpData(MainWindow& main);
// 数据恢复: the list of backups; the chosen one is checked, asked about and swapped in.
void openRestore(MainWindow& main);
}  // namespace daike
