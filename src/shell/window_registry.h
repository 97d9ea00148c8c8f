// Every window and action the main window can open, in one table: its name, the menu item that
// opens it, whether the administrator login guards it, and how it is opened. The menu wiring,
// the login and the scenario runner's `open` all read this table, so a new guarded window is
// one row here plus the window itself.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "school/admin.h"

namespace daike {

class MainWindow;

struct Registered {
    // The window's objectName ("Form17"); an action without a window uses its menu name.
    const char* name;
    // The menu item that opens it ("bjsr"); "" when only another window or the runner opens it.
    const char* menuItem;
    // LoginCode::None: the item acts at once; otherwise the login runs it after the password.
    LoginCode login;
    // Opens the window (or brings the open one forward), or runs the action.
    std::function<void(MainWindow&)> open;
    // A window another window opens for a teacher (Form14 from 修改): how the runner opens it
    // for one.
    std::function<void(MainWindow&, const QString&)> openFor = {};
};

const std::vector<Registered>& windowRegistry();

// The panels that live on the main window's working area (the import panel), made with it.
void addMainWindowPanels(MainWindow& m);

// The row of a window or action by name, or of a login code; nullptr when there is none.
const Registered* registeredWindow(const QString& name);
const Registered* registeredLogin(LoginCode code);

}  // namespace daike
