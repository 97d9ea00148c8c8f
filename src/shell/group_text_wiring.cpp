#include "shell/group_text_wiring.h"

#include <QPushButton>
#include <QStatusBar>

#include "engine/group_text.h"
#include "shell/main_window.h"
#include "ui/change_signals.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/main/day_board_view.h"
#include "windows/main/group_text_window.h"

namespace daike {

void openGroupText(MainWindow& main) {
    main.openAndRefresh<GroupTextWindow>("FormTZ");
}

void wireGroupText(MainWindow& main, DayBoardView& board) {
    RunContext& ctx = main.context();
    QObject::connect(board.addAction("copyTextButton", QStringLiteral("复制通知文字")),
                     &QPushButton::clicked, &main,
                     [&main, &ctx] { runAction(ctx, [&main] { openGroupText(main); }); });
    // Leaving the assignment screen: the record viewer takes the working area, so the offer
    // to tell the substitutes stands in the status line until nothing is left untold.
    auto* offer = new QPushButton(QStringLiteral("复制通知文字"), &main);
    offer->setObjectName("copyTextAfterDay");
    offer->setAutoDefault(false);
    main.statusBar()->addPermanentWidget(offer);
    offer->hide();
    auto stillUntold = [&ctx, offer] {
        runAction(ctx, [&ctx, offer] {
            if (!grouptext::read(ctx.store, ctx.day.day()).untold()) offer->hide();
        });
    };
    QObject::connect(&main, &MainWindow::dayFinished, offer, [&ctx, offer] {
        runAction(ctx, [&ctx, offer] {
            offer->setVisible(grouptext::read(ctx.store, ctx.day.day()).untold());
        });
    });
    QObject::connect(listen(ctx, offer), &ChangeSignals::dayChanged, offer, stillUntold);
    QObject::connect(offer, &QPushButton::clicked, &main, [&main, &ctx, offer] {
        offer->hide();
        runAction(ctx, [&main] { openGroupText(main); });
    });
}

}  // namespace daike
