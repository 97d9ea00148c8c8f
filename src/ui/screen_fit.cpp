#include "ui/screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScrollArea>
#include <QSet>
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

void collectLaidOut(const QLayout* layout, QSet<const QWidget*>& into) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget()) into.insert(item->widget());
        if (item->layout()) collectLaidOut(item->layout(), into);
    }
}

QScrollArea* newScrollArea() {
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("qt_fitScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

// The main window keeps its menu bar: its working area goes into the scroll area.
void wrapWorkingArea(QMainWindow& window, QSize designed) {
    QWidget* central = window.takeCentralWidget();
    if (!central) return;
    central->setMinimumSize(
        central->minimumSize().expandedTo(designed).expandedTo(contentsNeed(*central)));
    auto* scroll = newScrollArea();
    scroll->setWidget(central);
    scroll->setWidgetResizable(true);
    window.setCentralWidget(scroll);
    central->show();
}

// Every control of the window moves, where it is, onto one inside widget shown in a scroll area
// that fills the window. A layout of the window goes with them.
void wrapContents(QWidget& window, QSize designed) {
    QLayout* layout = window.layout();
    const QSize need = contentsNeed(window).expandedTo(designed);
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
        inner->setMinimumSize(need);
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

// `designed` is the size the contents were laid out for: they keep it inside the scroll area.
void wrapInScrollArea(QWidget& window, QSize designed) {
    if (auto* main = qobject_cast<QMainWindow*>(&window))
        wrapWorkingArea(*main, designed);
    else
        wrapContents(window, designed);
    window.setProperty(kScrolled, true);
}

// Lays the window out at its present size now, not when the events come.
void layOutNow(QWidget& window) {
    if (window.layout()) window.layout()->activate();
    for (QLayout* l : window.findChildren<QLayout*>()) l->activate();
}

QScrollArea* scrolledIn(QWidget* control, QWidget* window) {
    for (QWidget* p = control->parentWidget(); p && p != window; p = p->parentWidget())
        if (auto* s = qobject_cast<QScrollArea*>(p); s && s->widget() && s->widget() != control)
            if (s->widget()->isAncestorOf(control)) return s;
    return nullptr;
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
    const QLayout* layout = window.layout();
    QSize need = layout ? layout->totalMinimumSize() : QSize(0, 0);
    QSet<const QWidget*> laidOut;
    if (layout) collectLaidOut(layout, laidOut);
    // Controls placed by hand, shown or not yet (a panel shown later needs its room too).
    for (const QWidget* c : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (c->isWindow() || laidOut.contains(c) || c->size().isEmpty()) continue;
        need = need.expandedTo(QSize(c->geometry().right() + 1, c->geometry().bottom() + 1));
    }
    return need;
}

bool fitMaximised(const QWidget& window) {
    return window.property(kMaximised).toBool();
}

QStringList cutOffControls(QWidget& window) {
    QStringList cut;
    for (QWidget* c : window.findChildren<QWidget*>()) {
        if (c->window() != &window || c->objectName().isEmpty() ||
            c->objectName().startsWith("qt_"))
            continue;
        // A hidden control a layout has not placed yet takes no room.
        if (!c->isVisibleTo(&window) && c->size().isEmpty()) continue;
        QWidget* room = &window;
        if (QScrollArea* s = scrolledIn(c, &window)) room = s->widget();
        const QRect at(c->mapTo(room, QPoint(0, 0)), c->size());
        if (!room->rect().contains(at))
            cut << QStringLiteral("%1 at %2,%3 %4x%5")
                       .arg(c->objectName())
                       .arg(at.x())
                       .arg(at.y())
                       .arg(at.width())
                       .arg(at.height());
    }
    return cut;
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
            auto* main = qobject_cast<QMainWindow*>(&window);
            layOutNow(window);
            const QSize designed =
                main && main->centralWidget() ? main->centralWidget()->size() : size;
            window.setMinimumSize(std::min(window.minimumWidth(), maximised.width()),
                                  std::min(window.minimumHeight(), maximised.height()));
            // Laid out at the maximised size, a window whose controls are placed by hand may
            // cut some off: those keep the designed size and scroll.
            window.resize(maximised);
            layOutNow(window);
            if (!within(contentsNeed(window), maximised) || !cutOffControls(window).isEmpty())
                wrapInScrollArea(window, designed);
        }
        window.setProperty(kMaximised, true);
        screen.maximise(window);
        return fitOf(window);
    }
    wrapInScrollArea(window, size);
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
