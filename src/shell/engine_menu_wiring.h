#pragma once

namespace daike {
class MainWindow;
// The cover items of the main menu: one-teacher and several-teacher cover and what they open.
void wireCoverMenu(MainWindow& main);
}  // namespace daike
