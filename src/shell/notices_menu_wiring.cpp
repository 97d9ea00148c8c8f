#include "shell/notices_menu_wiring.h"

#include <QLabel>
#include <QPushButton>

#include "documents/notices.h"
#include "shell/main_window.h"
#include "ui/change_signals.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/main/day_board_view.h"
#include "windows/main/notice_output.h"
#include "windows/main/record_viewer.h"
#include "windows/main/reprint_window.h"

namespace daike {

void openReprint(MainWindow& main) {
    main.openAndRefresh<ReprintWindow>("FormCD");
}

void wireReprintButton(MainWindow& main, DayBoardView& board) {
    RunContext& ctx = main.context();
    QObject::connect(board.addAction("reprintButton", QStringLiteral("重打…")),
                     &QPushButton::clicked, &main,
                     [&main, &ctx] { runAction(ctx, [&main] { openReprint(main); }); });
}

void wireNoticesMenu(MainWindow& main) {
    RunContext& ctx = main.context();
    QWidget* centre = main.centralWidget();
    auto* viewer = new RecordViewer(ctx, centre);
    auto* busy = makeLabel(centre, "Label13", QStringLiteral("正在处理打印数据，请稍侯……"),
                           {250, 440, 300, 30});
    busy->setAlignment(Qt::AlignCenter);
    setBackground(busy, QColor(255, 255, 192));
    busy->hide();

    auto output = [&ctx, &main, busy](NoticeOutput how) {
        runAction(ctx, [&] { outputNotices(ctx, &main, busy, how); });
    };
    main.on("dkck", [viewer] { viewer->open(); });
    // An open viewer follows every change of today's cover; when the assignment screen's visit
    // has covered nothing it goes on showing the earlier cover.
    QObject::connect(listen(ctx, viewer), &ChangeSignals::coverChanged, viewer, [&ctx, viewer] {
        runAction(ctx, [&ctx, viewer] {
            if (viewer->isVisible() && !readCover(ctx.store, viewer->scope()).empty())
                viewer->open();
        });
    });
    // A finished day is looked over at once, as after 代课查看 (an open viewer was brought up to
    // date when the assignment screen closed). A visit that covered nothing has nothing to
    // look over: the viewer's "无代课记录" is the answer to 代课查看, not to leaving.
    QObject::connect(&main, &MainWindow::dayFinished, viewer, [&ctx, viewer] {
        runAction(ctx, [&ctx, viewer] {
            // A visit that covered nothing puts away a viewer showing an earlier visit.
            if (!readSessionCover(ctx.store).empty())
                viewer->open();
            else if (viewer->isVisible())
                viewer->closeView();
        });
    });
    main.on("scdk", [output] { output(NoticeOutput::Print); });
    main.on("dkyl", [output] { output(NoticeOutput::Preview); });
    main.on("dkpdf", [output] { output(NoticeOutput::Pdf); });
    // The whole working day's notices, whatever the assignment screen's visits: the morning's
    // can be printed again after a late absence.
    auto outputDay = [&ctx, &main, busy](NoticeOutput how) {
        runAction(ctx, [&] { outputNotices(ctx, &main, busy, how, NoticeScope::Today); });
    };
    main.on("jtqbdy", [outputDay] { outputDay(NoticeOutput::Print); });
    main.on("jtqbyl", [outputDay] { outputDay(NoticeOutput::Preview); });
    main.on("jtqbpdf", [outputDay] { outputDay(NoticeOutput::Pdf); });

    // From the viewer, the notices are of the cover it shows (本次 or 今天全部).
    auto outputShown = [&ctx, &main, busy, viewer](NoticeOutput how) {
        runAction(ctx, [&] { outputNotices(ctx, &main, busy, how, viewer->scope()); });
    };
    QObject::connect(viewer, &RecordViewer::printRequested, &main,
                     [outputShown] { outputShown(NoticeOutput::Print); });
    QObject::connect(viewer, &RecordViewer::previewRequested, &main,
                     [outputShown] { outputShown(NoticeOutput::Preview); });
    QObject::connect(viewer, &RecordViewer::pdfRequested, &main,
                     [outputShown] { outputShown(NoticeOutput::Pdf); });
}

}  // namespace daike
