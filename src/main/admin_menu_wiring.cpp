#include "main/admin_menu_wiring.h"

#include "main/main_window.h"

namespace daike {

void wireAdministrationMenu(MainWindow& main) {
    (void)main;
}

}  // namespace daike
