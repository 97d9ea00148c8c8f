#include "shell/statistics_menu_wiring.h"

#include "shell/main_window.h"
#include "windows/statistics/statistics_window.h"

namespace daike {

void wireStatisticsMenu(MainWindow& main) {
    main.on("dktj", [&main] {
        main.openWindow<StatisticsWindow>(
            "FormTJ", [&main] { return new StatisticsWindow(main.context(), &main); });
    });
}

}  // namespace daike
