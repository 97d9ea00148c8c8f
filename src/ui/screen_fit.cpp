#include "ui/screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/platform.h"

namespace daike {

namespace {

constexpr const char* kScrolled = "fitScrolled";
constexpr const char* kMaximised = "fitMaximised";

bool within(QSize size, QSize room) {
    return size.width() <= room.width() && size.height() <= room.height();
}

QScrollArea* newScrollArea() {
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("qt_fitScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

// The main window keeps its menu bar: its working area goes into the scroll area.
void wrapWorkingArea(QMainWindow& window) {
    QWidget* central = window.takeCentralWidget();
    if (!central) return;
    const QSize need = contentsNeed(*central);
    central->setMinimumSize(central->minimumSize().expandedTo(need));
    auto* scroll = newScrollArea();
    scroll->setWidget(central);
    scroll->setWidgetResizable(true);
    window.setCentralWidget(scroll);
    central->show();
}

// Every control of the window moves, where it is, onto one inside widget shown in a scroll area
// that fills the window. A layout of the window goes with them.
void wrapContents(QWidget& window) {
    QLayout* layout = window.layout();
    const QSize need = contentsNeed(window).expandedTo(layout ? QSize() : window.size());
    auto* inner = new QWidget;
    inner->setObjectName(QStringLiteral("qt_fitInner"));
    inner->setPalette(window.palette());
    inner->setAutoFillBackground(window.autoFillBackground());
    struct Moved {
        QWidget* control;
        QRect at;
        bool hidden;
    };
    std::vector<Moved> moved;
    for (QWidget* c : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!c->isWindow()) moved.push_back({c, c->geometry(), c->isHidden()});
    for (const auto& m : moved) {
        m.control->setParent(inner);
        m.control->setGeometry(m.at);
    }
    auto* scroll = newScrollArea();
    if (layout) {
        inner->setLayout(layout);  // takes the layout off the window
        scroll->setWidgetResizable(true);
    } else {
        inner->setFixedSize(need);
    }
    for (const auto& m : moved) m.control->setVisible(!m.hidden);
    scroll->setWidget(inner);
    auto* host = new QVBoxLayout(&window);
    host->setContentsMargins(0, 0, 0, 0);
    host->addWidget(scroll);
    inner->show();
    scroll->show();
    host->activate();
}

void wrapInScrollArea(QWidget& window) {
    if (auto* main = qobject_cast<QMainWindow*>(&window))
        wrapWorkingArea(*main);
    else
        wrapContents(window);
    window.setProperty(kScrolled, true);
}

}  // namespace

QString fitName(WindowFit fit) {
    switch (fit) {
        case WindowFit::Fits:
            return QStringLiteral("fits");
        case WindowFit::Maximised:
            return QStringLiteral("maximised");
        case WindowFit::Scrolled:
            return QStringLiteral("scrolled");
    }
    return {};
}

WindowFit fitOf(const QWidget& window) {
    if (window.property(kScrolled).toBool()) return WindowFit::Scrolled;
    if (window.property(kMaximised).toBool()) return WindowFit::Maximised;
    return WindowFit::Fits;
}

QSize contentsNeed(const QWidget& window) {
    if (const QLayout* layout = window.layout()) return layout->totalMinimumSize();
    QSize need(0, 0);
    for (const QWidget* c : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (c->isWindow() || c->isHidden()) continue;
        need = need.expandedTo(QSize(c->geometry().right() + 1, c->geometry().bottom() + 1));
    }
    return need;
}

WindowFit fitToScreen(QWidget& window, const Screen& screen) {
    if (!window.isWindow() || window.isFullScreen() || window.property("fullScreenOn").isValid())
        return fitOf(window);
    // Fitted before: the same again, without wrapping twice.
    if (window.property(kScrolled).isValid() || window.property(kMaximised).isValid()) {
        if (window.property(kMaximised).toBool())
            screen.maximise(window);
        else
            keepOnScreen(window, screen);
        return fitOf(window);
    }
    const QRect area = screen.availableArea();
    const QMargins frame = screen.windowFrame(window);
    const QSize framed(area.width() - frame.left() - frame.right(),
                       area.height() - frame.top() - frame.bottom());
    const QSize maximised(area.width(), area.height() - frame.top());
    const bool fixed = window.minimumSize() == window.maximumSize();
    const QSize size = window.size();
    if (within(size, framed)) {
        keepOnScreen(window, screen);
        return WindowFit::Fits;
    }
    if (!fixed || within(size, maximised)) {
        if (!fixed) {
            if (!within(contentsNeed(window), maximised)) wrapInScrollArea(window);
            window.setMinimumSize(std::min(window.minimumWidth(), maximised.width()),
                                  std::min(window.minimumHeight(), maximised.height()));
        }
        window.setProperty(kMaximised, true);
        screen.maximise(window);
        return fitOf(window);
    }
    wrapInScrollArea(window);
    window.setFixedSize(size.boundedTo(framed));
    keepOnScreen(window, screen);
    return WindowFit::Scrolled;
}

FitWhenShown::FitWhenShown(const Screen& screen) : screen_(screen) {
    qApp->installEventFilter(this);
}

FitWhenShown::~FitWhenShown() {
    qApp->removeEventFilter(this);
}

bool FitWhenShown::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || event->spontaneous() || !watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
        fitToScreen(*w, screen_);
    return false;
}

}  // namespace daike
