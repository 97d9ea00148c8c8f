#include "basedata/menu_wiring.h"

#include "main/main_window.h"

namespace daike {

void wireBaseDataMenu(MainWindow& main) {
    (void)main;
}

}  // namespace daike
