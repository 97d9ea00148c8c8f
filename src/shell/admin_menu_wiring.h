#pragma once

namespace daike {
class MainWindow;
// The day and term resets and the administration items of the main menu.
void wireAdministrationMenu(MainWindow& main);
}  // namespace daike
