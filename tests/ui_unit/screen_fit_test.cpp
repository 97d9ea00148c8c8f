#include "ui/screen_fit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "platform/scripted_platform.h"
#include "shell/program.h"
#include "test_application.h"
#include "ui/window_texts.h"

namespace daike {
namespace {

using testing::app;

// A window of fixed size with its controls placed by hand, as most of the office's windows are.
std::unique_ptr<QWidget> fixedWindow(QSize size) {
    auto w = std::make_unique<QWidget>();
    w->setFixedSize(size);
    auto* ok = new QPushButton(QStringLiteral("确定"), w.get());
    ok->setObjectName("Command1");
    ok->setGeometry(size.width() - 90, size.height() - 36, 80, 26);
    return w;
}

TEST(Placement, TheRuleThenBackInsideTheAreaFrameIncluded) {
    app();
    FixedScreen screen;
    screen.setWidth(800);
    QWidget w;
    w.resize(300, 200);
    placeWindow(w, screen, {240, 180});
    EXPECT_EQ(w.pos(), QPoint(240, 180));  // the design screen: where it was designed
    screen.setSize(1920, 1080, 150);       // 1280 x 680 available
    w.resize(1120, 620);
    placeWindow(w, screen, {0, 0});
    // 120 right as on any other screen, but 93 down would put the bottom frame under the
    // taskbar: up until the frame (30 above, 8 below) ends at 680.
    EXPECT_EQ(w.pos(), QPoint(120, 680 - 620 - 38));
    // Too large for the area even at its top-left: the corner wins.
    EXPECT_EQ(keptInside(QRect(50, 50, 2000, 900), QRect(0, 0, 1280, 680)), QPoint(0, 0));
}

TEST(ScriptedScreen, ScaledScreensAreSeenInDeviceIndependentPixels) {
    FixedScreen screen;
    EXPECT_EQ(screen.availableArea(), QRect(0, 0, 1024, 728));
    screen.setSize(800, 600, 150);
    EXPECT_EQ(screen.availableArea(), QRect(0, 0, 533, 360));
    EXPECT_EQ(screen.widthPixels(), 533);
    EXPECT_FALSE(isDesignScreen(screen));
    screen.setSize(800, 600, 100);
    EXPECT_TRUE(isDesignScreen(screen));
    screen.setWidth(1024);
    EXPECT_EQ(screen.availableArea(), QRect(0, 0, 1024, 728));
}

TEST(FitToScreen, AFixedWindowThatFitsOnlyMoves) {
    app();
    FixedScreen screen;
    screen.setWidth(1024);
    auto w = fixedWindow({420, 200});
    w->move(900, 700);
    EXPECT_EQ(fitToScreen(*w, screen), WindowFit::Fits);
    EXPECT_EQ(w->pos(), QPoint(1024 - 436, 728 - 238));
    EXPECT_EQ(w->findChild<QScrollArea*>(), nullptr);
}

TEST(FitToScreen, AFixedWindowLargerThanTheAreaScrollsToEveryControl) {
    app();
    FixedScreen screen;
    screen.setSize(800, 600, 150);
    auto w = fixedWindow({780, 500});
    w->show();
    EXPECT_EQ(fitToScreen(*w, screen), WindowFit::Scrolled);
    EXPECT_EQ(w->size(), QSize(533 - 16, 360 - 38));
    auto* button = w->findChild<QPushButton*>("Command1");
    ASSERT_NE(button, nullptr);  // still found by name, now inside the scroll area
    auto* scroll = w->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->widget()->size(), QSize(780, 500));
    EXPECT_EQ(button->geometry(), QRect(690, 464, 80, 26));
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(cutOffControls(*w).isEmpty());
    // Shown again it is not wrapped twice.
    fitToScreen(*w, screen);
    EXPECT_EQ(w->findChildren<QScrollArea*>().size(), 1);
}

TEST(FitToScreen, AResizableWindowIsMaximisedAndScrollsOnlyWhatItCannotShow) {
    app();
    FixedScreen screen;
    screen.setSize(1024, 768, 150);  // 682 x 472
    QWidget w;
    auto* layout = new QVBoxLayout(&w);
    auto* label = new QLabel(QStringLiteral("代课统计"));
    label->setObjectName("Label1");
    layout->addWidget(label);
    w.setMinimumSize(640, 420);
    w.resize(790, 500);
    w.show();  // as FitWhenShown sees it: laid out
    EXPECT_EQ(fitToScreen(w, screen), WindowFit::Maximised);
    EXPECT_TRUE(fitMaximised(w));
    EXPECT_EQ(w.pos(), QPoint(0, 0));  // the frame's corner
    EXPECT_EQ(w.size(), QSize(682, 472 - 30));
    EXPECT_EQ(w.findChild<QScrollArea*>(), nullptr);

    // A main window whose working area holds a panel placed by hand keeps the panel reachable.
    screen.setSize(800, 600, 150);
    QMainWindow main;
    auto* centre = new QWidget;
    new QVBoxLayout(centre);
    auto* panel = new QLabel(QStringLiteral("课务自动导入"), centre);
    panel->setObjectName("Frame1");
    panel->setGeometry(4, 2, 792, 498);
    main.setCentralWidget(centre);
    main.resize(800, 530);
    main.show();
    EXPECT_EQ(fitToScreen(main, screen), WindowFit::Scrolled);
    EXPECT_TRUE(fitMaximised(main));
    EXPECT_NE(qobject_cast<QScrollArea*>(main.centralWidget()), nullptr);
    EXPECT_TRUE(cutOffControls(main).isEmpty()) << cutOffControls(main).join("; ").toStdString();
}

TEST(FitToScreen, WindowsShownFullScreenAreLeftWhereTheyWereShown) {
    app();
    FixedScreen screen;
    screen.setSizes({QSize(1024, 768), QSize(1920, 1080)});
    QWidget board;
    screen.showFullScreen(board, QRect(1024, 0, 1920, 1080));
    EXPECT_EQ(fitToScreen(board, screen), WindowFit::Fits);
    EXPECT_EQ(board.geometry(), QRect(1024, 0, 1920, 1080));
}

TEST(WindowTexts, LatinLettersNeedAChineseCharacterOrAnAllowedWord) {
    EXPECT_TRUE(readsAsChinese(QStringLiteral("导出PDF文件")));
    EXPECT_TRUE(readsAsChinese(QStringLiteral("12:30 - 13:10")));
    EXPECT_TRUE(readsAsChinese(QStringLiteral("PDF")));
    EXPECT_TRUE(readsAsChinese(QStringLiteral("Excel (*.xlsx)")));
    EXPECT_TRUE(readsAsChinese(QStringLiteral("输出文件.docx")));
    EXPECT_TRUE(readsAsChinese(QStringLiteral("timetable.xlsx")));
    EXPECT_TRUE(readsAsChinese(QStringLiteral("/home/office/daike")));
    EXPECT_TRUE(readsAsChinese(QStringLiteral("<b>打印</b>")));
    EXPECT_FALSE(readsAsChinese(QStringLiteral("Print")));
    EXPECT_FALSE(readsAsChinese(QStringLiteral("&Cancel")));
    EXPECT_FALSE(readsAsChinese(QStringLiteral("<b>Next page</b>")));
    EXPECT_FALSE(readsAsChinese(QStringLiteral("PDF viewer")));
}

TEST(WindowTexts, EveryKindOfVisibleTextIsRead) {
    app();
    QWidget w;
    w.setWindowTitle(QStringLiteral("代课"));
    auto* ok = new QPushButton(QStringLiteral("确定"), &w);
    ok->setObjectName("Command1");
    ok->setToolTip(QStringLiteral("Save the day"));
    auto* action = new QAction(QStringLiteral("Zoom in"), &w);
    w.addAction(action);
    auto* hidden = new QLabel(QStringLiteral("Hidden"), &w);
    hidden->hide();
    const QStringList found = textsWithoutChinese(w);
    EXPECT_EQ(found.size(), 2) << found.join("; ").toStdString();
    EXPECT_TRUE(found.join("|").contains("Command1 tooltip \"Save the day\""));
    EXPECT_TRUE(found.join("|").contains("Zoom in"));
}

}  // namespace
}  // namespace daike

namespace daike {
namespace {

TEST(WindowTexts, QtsPrintPreviewSpeaksChineseOnceItsTranslationsAreLoaded) {
    app();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    {
        QPrintPreviewDialog english(&printer);
        english.setWindowTitle(QStringLiteral("打印预览"));
        // The checker is not blind: Qt's own toolbar is English until translated.
        EXPECT_FALSE(textsWithoutChinese(english).isEmpty());
    }
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_zh_CN.qm")))
        GTEST_SKIP() << "Qt's Chinese translations are not installed";
    useChineseTranslations();
    QPrintPreviewDialog chinese(&printer);
    chinese.setWindowTitle(QStringLiteral("打印预览"));
    const QStringList found = textsWithoutChinese(chinese);
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(found.isEmpty()) << found.join("; ").toStdString();
}

}  // namespace
}  // namespace daike
