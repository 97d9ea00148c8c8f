#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "basedata/term_readiness.h"
#include "shell/board_picture_wiring.h"
#include "shell/group_text_wiring.h"
#include "shell/main_menu.h"
#include "shell/notices_menu_wiring.h"
#include "shell/search_menu_wiring.h"
#include "shell/slips_menu_wiring.h"
#include "shell/timetable_wiring.h"
#include "shell/window_registry.h"
#include "store/week.h"
#include "ui/change_signals.h"
#include "ui/help.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/main/day_board_view.h"
#include "windows/main/login_window.h"
#include "windows/main/weekday_chooser.h"

namespace daike {

namespace {

bool schoolReady(RunContext& ctx) {
    bool ready = true;
    runAction(ctx, [&] {
        ready = readiness::complete(readiness::check(ctx.store, ctx.platform.clock.today()));
    });
    return ready;
}

}  // namespace

MainWindow::MainWindow(RunContext& ctx) : ctx_(ctx) {
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("代课 — 教导处代课安排"));
    // Fits an 800x600 screen with its taskbar, title bar included.
    resize(800, 530);

    // The working area: today's board, unless another panel (the timetable import, the record
    // viewer) is shown there.
    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    board_ = new DayBoardView(ctx_, centre);
    layout->addWidget(board_);
    // The board and the calendar line show the day as it is after every change, whichever
    // window made it.
    auto* changes = listen(ctx_, this);
    connect(changes, &ChangeSignals::dayChanged, this, &MainWindow::refreshBoard);
    connect(changes, &ChangeSignals::calendarChanged, this, &MainWindow::showCalendar);
    setCentralWidget(centre);

    auto* calendarLine = new QLabel(this);
    calendarLine->setObjectName("calendarLabel");
    statusBar()->addWidget(calendarLine);

    buildMenu();
    wireMenu();
    showCalendar();

    // F1 explains what the working area shows: the record viewer or the import panel when one
    // of them covers today's board, else the main window and its board.
    installHelpKey(this, [this] {
        for (const char* panel : {"recordViewer", "Frame1"})
            if (auto* w = centralWidget()->findChild<QWidget*>(panel); w && w->isVisible())
                return QString::fromUtf8(panel);
        return objectName();
    });
    // The menu is the main window's work: Enter has no button to run here.
    setNoMainButton(this);
    prepareKeyboard(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenu() {
    QMenu* menus[3] = {nullptr, nullptr, nullptr};
    for (const auto& e : menu::entries()) {
        const QString name = QString::fromUtf8(e.name);
        const QString caption = QString::fromUtf8(e.caption);
        QMenu* parent = e.depth > 0 ? menus[e.depth - 1] : nullptr;
        QAction* a = nullptr;
        switch (e.kind) {
            case menu::Kind::TopLevel:
            case menu::Kind::Submenu: {
                QMenu* m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
                m->setObjectName(name + "_menu");
                menus[e.depth] = m;
                a = m->menuAction();
                break;
            }
            case menu::Kind::Separator:
                a = parent->addSeparator();
                break;
            case menu::Kind::Item:
                a = new QAction(caption, this);
                if (parent)
                    parent->addAction(a);
                else
                    menuBar()->addAction(a);
                if (*e.shortcut) a->setShortcut(QKeySequence(QString::fromUtf8(e.shortcut)));
                // Items whose work is not wired up yet stay disabled.
                a->setEnabled(false);
                break;
        }
        a->setObjectName(name);
        actions_.insert(name, a);
    }
}

QAction* MainWindow::action(const QString& menuName) const {
    return actions_.value(menuName);
}

void MainWindow::on(const QString& menuName, std::function<void()> handler) {
    QAction* a = actions_.value(menuName);
    Q_ASSERT(a);
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, [this, handler = std::move(handler)] {
        runAction(ctx_, handler);
        // Resets and the day's tables may have changed.
        refreshBoard();
    });
}

void MainWindow::guarded(const Registered& row) {
    on(QString::fromUtf8(row.menuItem), [this, &row] {
        askedFor_ = &row;
        openLogin(static_cast<int>(row.login));
    });
}

void MainWindow::runAdminOperation(int code) {
    const Registered* r = askedFor_ && static_cast<int>(askedFor_->login) == code
                              ? askedFor_
                              : registeredLogin(static_cast<LoginCode>(code));
    if (r) runAction(ctx_, [this, r] { r->open(*this); });
}

void MainWindow::open(const QString& name) {
    if (const auto* r = registeredWindow(name)) runAction(ctx_, [this, r] { r->open(*this); });
}

void MainWindow::openFor(const QString& name, const QString& teacher) {
    if (const auto* r = registeredWindow(name); r && r->openFor)
        runAction(ctx_, [&] { r->openFor(*this, teacher); });
}

void MainWindow::openLogin(int code) {
    openWindow<LoginWindow>("Form15", [this, code] {
        auto* login = new LoginWindow(ctx_, this, code);
        connect(login, &LoginWindow::accepted, this, &MainWindow::runAdminOperation);
        return login;
    })->askFor(code);
}

void MainWindow::wireMenu() {
    // The import panel first: the items that put it away do so before their own work starts.
    addMainWindowPanels(*this);
    // Every registered window or action with a menu item; the guarded ones go through the login.
    for (const auto& r : windowRegistry()) {
        if (!*r.menuItem) continue;
        if (r.login == LoginCode::None)
            on(QString::fromUtf8(r.menuItem), [this, &r] { r.open(*this); });
        else
            guarded(r);
    }
    // The record viewer and the notices live on the working area; the search windows hand the
    // picker's choice over by a connection of their own.
    wireNoticesMenu(*this);
    wireSearchMenu(*this);
    wireGroupText(*this, *board_);
    wireSlipsMenu(*this);
    wireReprintButton(*this, *board_);
    on("dkapdy", [this] { outputDaySheet(ctx_, this, SheetOutput::Print); });
    on("dkapyl", [this] { outputDaySheet(ctx_, this, SheetOutput::Preview); });
    on("dkappdf", [this] { outputDaySheet(ctx_, this, SheetOutput::Pdf); });
    wireBoardPictureAndScreen(*this);
    wireTimetableMenu(*this);
}

void MainWindow::refreshBoard() {
    if (board_->isVisible()) board_->refresh();
}

void MainWindow::setBoardCovered(bool covered) {
    board_->setCovered(covered);
}

void MainWindow::showCalendar() {
    auto* line = findChild<QLabel*>("calendarLabel");
    const auto& d = ctx_.day;
    QString text;
    if (d.week() > 0) text = QStringLiteral("第%1周  ").arg(d.week());
    if (d.weekday() >= 1 && d.weekday() <= week::kCalendarDays)
        text += qs(week::weekdayName(d.weekday()));
    line->setText(text);
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        showCalendar();
        refreshBoard();
        if (ctx_.values.首次激活标志 == 0) {
            if (schoolReady(ctx_)) {
                // Asked once per run; the flag is set first so that the question's own box,
                // which takes the focus away and gives it back, does not ask again.
                ctx_.values.首次激活标志 = 1;
                QTimer::singleShot(0, this, [this] { startupQuestion(); });
            } else if (!checklistOffered_) {
                // A school not yet set up is shown what to do first, in order; the question
                // waits until nothing is missing.
                checklistOffered_ = true;
                QTimer::singleShot(0, this, [this] { open("FormKX"); });
            }
        }
    }
    return QMainWindow::event(e);
}

void MainWindow::askStartupQuestionIfDue() {
    if (ctx_.values.首次激活标志 != 0 || !schoolReady(ctx_)) return;
    ctx_.values.首次激活标志 = 1;
    startupQuestion();
}

void MainWindow::startupQuestion() {
    if (ctx_.platform.boxes.yesNo(QStringLiteral("您是否准备代当天的课务！"))) return;
    ctx_.day.chooseByHand();
    openWindow<WeekdayChooser>("Form9", [this] { return new WeekdayChooser(ctx_, this); });
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // Closing the main window closes every other window of the program with it; they see the
    // run ending and hand nothing over.
    setProperty("endingRun", true);
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isWindow()) w->close();
    }
    e->accept();
    emit closed();
}

}  // namespace daike
