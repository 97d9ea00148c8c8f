#include "engine/menu_wiring.h"

#include "main/main_window.h"

namespace daike {

void wireCoverMenu(MainWindow& main) {
    (void)main;
}

}  // namespace daike
