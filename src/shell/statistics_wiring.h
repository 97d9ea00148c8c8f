#pragma once

namespace daike {
class MainWindow;
// FormTJ, 代课统计, whose 公平性… opens FormGP and 发放表… FormFF.
void openStatistics(MainWindow& main);
// FormGP, 代课公平性.
void openFairness(MainWindow& main);
// FormFF, 代课费发放表.
void openPaySheet(MainWindow& main);
}  // namespace daike
