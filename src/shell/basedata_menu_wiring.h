#pragma once

namespace daike {
class MainWindow;
// The base-data items of the main menu and the login codes of their windows.
void wireBaseDataMenu(MainWindow& main);
}  // namespace daike
