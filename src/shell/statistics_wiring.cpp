#include "shell/statistics_wiring.h"

#include "shell/main_window.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/statistics/fairness_window.h"
#include "windows/statistics/pay_sheet_window.h"
#include "windows/statistics/statistics_window.h"

namespace daike {

void openStatistics(MainWindow& main) {
    main.openWindow<StatisticsWindow>("FormTJ", [&main] {
        auto* w = new StatisticsWindow(main.context(), &main);
        QObject::connect(w, &StatisticsWindow::fairnessRequested, &main,
                         [&main] { runAction(main.context(), [&main] { openFairness(main); }); });
        QObject::connect(w, &StatisticsWindow::paySheetRequested, &main,
                         [&main] { runAction(main.context(), [&main] { openPaySheet(main); }); });
        return w;
    });
}

void openFairness(MainWindow& main) {
    main.openAndRefresh<FairnessWindow>("FormGP");
}

void openPaySheet(MainWindow& main) {
    main.openAndRefresh<PaySheetWindow>("FormFF");
}

}  // namespace daike
