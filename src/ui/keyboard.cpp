#include "ui/keyboard.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <algorithm>

namespace daike {

namespace {

const char* const kEnterRuns = "daikeEnterRuns";
const char* const kNoMainButton = "daikeNoMainButton";
const char* const kOwnTabOrder = "daikeOwnTabOrder";
const char* const kPrepared = "daikeKeyboardPrepared";

// Whether a signal of the object has a receiver: a box whose Enter already runs something.
struct SignalPeek : QObject {
    static bool connected(const QObject* o, const char* signal) {
        return (o->*(&SignalPeek::receivers))(signal) > 0;
    }
};

bool isEnter(const QKeyEvent* key) {
    const auto mods = key->modifiers() & ~Qt::KeypadModifier;
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier;
}

// Enter that none of the window's controls took: the focused push button, else the main button.
class EnterRuns : public QObject {
  public:
    explicit EnterRuns(QWidget* window) : QObject(window), window_(window) {
        setObjectName(kEnterRuns);
    }
    // Held weakly: a window that rebuilds its buttons never leaves Enter a deleted one.
    QPointer<QPushButton> main;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent*>(e))) return false;
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->window() != window_) focus = nullptr;
        if (focus) {
            if (auto* b = qobject_cast<QAbstractButton*>(focus);
                b && (qobject_cast<QPushButton*>(b) || qobject_cast<QToolButton*>(b))) {
                if (b->isEnabled()) b->click();
                return true;
            }
            auto* edit = qobject_cast<QLineEdit*>(focus);
            if (edit && !qobject_cast<QComboBox*>(edit->parentWidget()) &&
                SignalPeek::connected(edit, SIGNAL(returnPressed())))
                return false;
        }
        if (!main || !main->isVisible() || !main->isEnabled()) return false;
        main->click();
        return true;
    }

  private:
    QWidget* window_;
};

class PrepareOnShow : public QObject {
  public:
    explicit PrepareOnShow(QWidget* window) : QObject(window), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != window_ || e->type() != QEvent::Show) return false;
        if (!window_->property(kPrepared).toBool()) {
            window_->setProperty(kPrepared, true);
            if (!window_->property(kOwnTabOrder).toBool()) orderTabsByPosition(window_);
        }
        nameControls(window_);
        return false;
    }

  private:
    QWidget* window_;
};

// A part of another control (the typing box of a drop-down, of a spin box): not a stop of its own.
bool insideCompound(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p))
            return true;
    return false;
}

// The window's controls that Tab may stop at, shown or not.
QList<QWidget*> focusStops(QWidget* window) {
    QList<QWidget*> stops;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isWindow() || w->window() != window) continue;
        if (!(w->focusPolicy() & Qt::TabFocus) || insideCompound(w, window)) continue;
        stops << w;
    }
    return stops;
}

QRect inWindow(const QWidget* w) {
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

QString plain(QString text) {
    static const QRegularExpression tags("<[^>]*>");
    text.remove(tags);
    text.replace("&&", "\x01");
    text.remove('&');
    text.replace("\x01", "&");
    text = text.simplified();
    while (text.endsWith(':') || text.endsWith(QChar(0xFF1A))) text.chop(1);
    return text.trimmed();
}

QString caption(const QWidget* control) {
    if (auto* b = qobject_cast<const QAbstractButton*>(control)) return plain(b->text());
    if (auto* g = qobject_cast<const QGroupBox*>(control)) return plain(g->title());
    return {};
}

// The nearest label to the left on the same line, else the nearest just above, among labels.
QString labelBeside(const QRect& c, const QList<QLabel*>& labels, const QWidget* control) {
    const QLabel* left = nullptr;
    const QLabel* above = nullptr;
    int leftGap = 0, aboveGap = 0;
    for (const QLabel* l : labels) {
        if (l == control || plain(l->text()).isEmpty()) continue;
        if (l->isVisibleTo(l->window()) != control->isVisibleTo(control->window())) continue;
        const QRect r = inWindow(l);
        const int middle = r.center().y();
        if (r.right() <= c.left() + 4 && middle >= c.top() && middle <= c.bottom()) {
            const int gap = c.left() - r.right();
            if (gap <= 240 && (!left || gap < leftGap)) left = l, leftGap = gap;
        } else if (r.bottom() <= c.top() + 4 && r.left() < c.right() && r.right() > c.left()) {
            const int gap = c.top() - r.bottom();
            if (gap <= 32 && (!above || gap < aboveGap)) above = l, aboveGap = gap;
        }
    }
    if (left) return plain(left->text());
    if (above) return plain(above->text());
    return {};
}

// An option or tick box without a caption is named by the labels just after it on its line,
// as a place's number and name ("3. 张老师").
QString labelsAfter(const QRect& c, const QList<QLabel*>& labels, const QWidget* control) {
    QStringList words;
    int from = c.right();
    for (int taken = 0; taken < 2; ++taken) {
        const QLabel* next = nullptr;
        int nextGap = 0;
        for (const QLabel* l : labels) {
            if (plain(l->text()).isEmpty()) continue;
            if (l->isVisibleTo(l->window()) != control->isVisibleTo(control->window())) continue;
            const QRect r = inWindow(l);
            const int middle = r.center().y();
            const int gap = r.left() - from;
            if (gap < -4 || gap > 12 || middle < c.top() || middle > c.bottom()) continue;
            if (!next || gap < nextGap) next = l, nextGap = gap;
        }
        if (!next) break;
        words << plain(next->text());
        from = inWindow(next).right();
    }
    return words.join(' ');
}

}  // namespace

void setMainButton(QWidget* window, QPushButton* button) {
    auto* enter = static_cast<EnterRuns*>(
        window->findChild<QObject*>(kEnterRuns, Qt::FindDirectChildrenOnly));
    if (!enter) {
        enter = new EnterRuns(window);
        window->installEventFilter(enter);
    }
    enter->main = button;
}

void setNoMainButton(QWidget* window) {
    window->setProperty(kNoMainButton, true);
}

QPushButton* mainButton(const QWidget* window) {
    const auto* enter = static_cast<const EnterRuns*>(
        window->findChild<QObject*>(kEnterRuns, Qt::FindDirectChildrenOnly));
    return enter ? enter->main.data() : nullptr;
}

bool mainButtonDeclared(const QWidget* window) {
    return mainButton(window) || window->property(kNoMainButton).toBool();
}

void keepOwnTabOrder(QWidget* window) {
    window->setProperty(kOwnTabOrder, true);
}

void prepareKeyboard(QWidget* window) {
    window->installEventFilter(new PrepareOnShow(window));
}

void orderTabsByPosition(QWidget* window) {
    QList<QWidget*> stops = focusStops(window);
    std::stable_sort(stops.begin(), stops.end(), [](const QWidget* a, const QWidget* b) {
        const QRect ra = inWindow(a), rb = inWindow(b);
        // Controls whose tops lie within a few pixels stand on one line.
        if (std::abs(ra.top() - rb.top()) > 8) return ra.top() < rb.top();
        return ra.left() < rb.left();
    });
    // Qt 6.4 leaves the chain alone when the first of a pair ends it: a stand-in at the end
    // keeps every pair off the end while the chain is relinked.
    auto* end = new QWidget(window);
    end->setFocusPolicy(Qt::TabFocus);
    for (qsizetype i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1], stops[i]);
    delete end;
}

QString nameFromSurroundings(const QWidget* control) {
    const QString own = caption(control);
    // A button says what it does; a box is named by what stands beside it.
    if (qobject_cast<const QAbstractButton*>(control) && !own.isEmpty()) return own;
    const QRect c = inWindow(control);
    // The labels of the same panel first, then any of the window.
    QList<QLabel*> near;
    if (control->parentWidget())
        near = control->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QString name;
    if (qobject_cast<const QAbstractButton*>(control)) name = labelsAfter(c, near, control);
    if (name.isEmpty()) name = labelBeside(c, near, control);
    if (name.isEmpty()) name = labelBeside(c, control->window()->findChildren<QLabel*>(), control);
    if (name.isEmpty()) name = own;
    if (name.isEmpty()) name = plain(control->toolTip());
    if (name.isEmpty())
        if (auto* e = qobject_cast<const QLineEdit*>(control)) name = plain(e->placeholderText());
    return name;
}

void nameControls(QWidget* window) {
    for (QWidget* w : focusStops(window))
        if (w->accessibleName().isEmpty()) {
            const QString name = nameFromSurroundings(w);
            if (!name.isEmpty()) w->setAccessibleName(name);
        }
}

QList<QWidget*> tabControls(QWidget* window) {
    QList<QWidget*> shown;
    for (QWidget* w : focusStops(window))
        if (w->isVisible() && w->isEnabled()) shown << w;
    // In the window's own chain, from the first control on.
    QList<QWidget*> ordered;
    QWidget* w = window->nextInFocusChain();
    for (int guard = 0; w && w != window && guard < 10000; ++guard, w = w->nextInFocusChain())
        if (shown.contains(w) && !ordered.contains(w)) ordered << w;
    for (QWidget* rest : shown)
        if (!ordered.contains(rest)) ordered << rest;
    return ordered;
}

}  // namespace daike
