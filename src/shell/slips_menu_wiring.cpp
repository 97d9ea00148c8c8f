#include "shell/slips_menu_wiring.h"

#include <QAction>
#include <QPushButton>

#include "shell/main_window.h"
#include "ui/run_context.h"
#include "windows/main/day_board_view.h"
#include "windows/main/slip_output.h"

namespace daike {

void wireSlipsMenu(MainWindow& main) {
    RunContext& ctx = main.context();
    main.on("mrdkddy", [&ctx, &main] { outputSlips(ctx, &main, SlipOutput::Print); });
    main.on("mrdkdyl", [&ctx, &main] { outputSlips(ctx, &main, SlipOutput::Preview); });
    main.on("mrdkdpdf", [&ctx, &main] { outputSlips(ctx, &main, SlipOutput::Pdf); });
    // The board's button prints at once, as the menu's 打印 does.
    if (auto* board = main.findChild<DayBoardView*>("boardView")) {
        auto* button = board->addAction("slipButton", QStringLiteral("打印代课单"));
        QObject::connect(button, &QPushButton::clicked, &main, [&main] {
            if (QAction* print = main.action("mrdkddy")) print->trigger();
        });
    }
}

}  // namespace daike
