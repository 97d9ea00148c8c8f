#include "shell/board_picture_wiring.h"

#include <QPushButton>

#include "shell/main_window.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/main/day_board_view.h"
#include "windows/main/day_sheet_picture.h"

namespace daike {

void wireBoardPictureAndScreen(MainWindow& main) {
    RunContext& ctx = main.context();
    main.on("dkaptp", [&ctx] { saveDaySheetPicture(ctx); });
    auto* board = main.centralWidget()->findChild<DayBoardView*>("boardView");
    if (!board) return;
    QObject::connect(board->addAction("pictureButton", QStringLiteral("保存为图片…")),
                     &QPushButton::clicked, &main,
                     [&ctx] { runAction(ctx, [&ctx] { saveDaySheetPicture(ctx); }); });
    QObject::connect(board->addAction("fullScreenButton", QStringLiteral("全屏显示")),
                     &QPushButton::clicked, &main, [&main] { main.open("boardScreen"); });
}

}  // namespace daike
