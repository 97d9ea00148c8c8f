#pragma once

namespace daike {
class MainWindow;
// FormTJ, 代课统计, whose 公平性… opens FormGP.
void openStatistics(MainWindow& main);
// FormGP, 代课公平性.
void openFairness(MainWindow& main);
}  // namespace daike
