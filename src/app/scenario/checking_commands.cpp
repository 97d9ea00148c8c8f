// The scenario commands of one group. Checking: messages, texts, states, colours, positions, fits,
// run-wide values, SQL rows, cells.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <memory>

#include "commands.h"
#include "invariants.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "store/store.h"
#include "ui/help.h"
#include "ui/keyboard.h"
#include "ui/name_completion.h"
#include "ui/run_context.h"
#include "ui/screen_fit.h"
#include "ui/widgets.h"

namespace daike {

using scenario::cannot;

void ScenarioRunner::expectState(const QString& path, bool (QWidget::*state)() const, bool want,
                                 const char* otherwise) {
    QObject* o = find(path).object;
    bool got;
    if (auto* item = qobject_cast<QAction*>(o))
        got = state == &QWidget::isVisible ? item->isVisible() : item->isEnabled();
    else
        got = (qobject_cast<QWidget*>(o)->*state)();
    expect(got == want, path + " is " + otherwise);
}

QString ScenarioRunner::textOf(QObject* o) {
    if (auto* a = qobject_cast<QAction*>(o)) return a->text();
    if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow()) return w->windowTitle();
    if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
    // What the box shows: a password box shows its mask.
    if (auto* e = qobject_cast<QLineEdit*>(o)) return e->displayText();
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
    if (auto* c = qobject_cast<QComboBox*>(o)) return c->currentText();
    if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
    if (auto* t = qobject_cast<QTextEdit*>(o)) return t->toPlainText();
    if (auto* t = qobject_cast<QPlainTextEdit*>(o)) return t->toPlainText();
    cannot(o->objectName() + " has no text");
}

QString ScenarioRunner::sqlRows(const QString& query) {
    std::unique_ptr<Store> own;
    Store* store = program_ ? &program_->store() : nullptr;
    if (!store) {
        own = Store::open(dir_);
        store = own.get();
    }
    QStringList rows;
    for (const auto& row : store->selectText(query.toStdString())) {
        QStringList cols;
        for (const auto& v : row) cols << (v ? QString::fromStdString(*v) : QStringLiteral("NULL"));
        rows << cols.join('|');
    }
    return rows.join(';');
}

// expect-message
void ScenarioRunner::Checking::expectMessage(ScenarioRunner& r, const QStringList& a) {
    const auto& shown = r.desktop_.boxes.shown();
    if (r.checkedMessages_ < shown.size()) {
        const QString got = shown[r.checkedMessages_++].text;
        r.expect(got == a[1], "expected message \"" + a[1] + "\", got \"" + got + "\"");
    } else {
        r.expect(false, "expected message \"" + a[1] + "\", none shown");
    }
}

// expect-message-starting
void ScenarioRunner::Checking::expectMessageStarting(ScenarioRunner& r, const QStringList& a) {
    const auto& shown = r.desktop_.boxes.shown();
    const QString got =
        r.checkedMessages_ < shown.size() ? shown[r.checkedMessages_++].text : QString();
    r.expect(got.startsWith(a[1]),
             "expected a message starting \"" + a[1] + "\", got \"" + got + "\"");
}

// expect-no-message
void ScenarioRunner::Checking::expectNoMessage(ScenarioRunner& r, const QStringList&) {
    const auto& shown = r.desktop_.boxes.shown();
    r.expect(r.checkedMessages_ == shown.size(),
             r.checkedMessages_ < shown.size()
                 ? "expected no message, got \"" + shown[r.checkedMessages_].text + "\""
                 : QString());
    r.checkedMessages_ = shown.size();
}

// skip-messages
void ScenarioRunner::Checking::skipMessages(ScenarioRunner& r, const QStringList&) {
    r.checkedMessages_ = r.desktop_.boxes.shown().size();
}

// expect-text
void ScenarioRunner::Checking::expectText(ScenarioRunner& r, const QStringList& a) {
    const QString got = r.textOf(r.find(a[1]).object);
    r.expect(got == a[2], a[1] + ": expected text \"" + a[2] + "\", got \"" + got + "\"");
}

// expect-items
void ScenarioRunner::Checking::expectItems(ScenarioRunner& r, const QStringList& a) {
    QStringList items;
    if (auto* list = qobject_cast<QListWidget*>(r.widget(a[1]))) {
        for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    } else {
        auto* c = qobject_cast<QComboBox*>(r.widget(a[1]));
        if (!c) cannot(a[1] + " is not a list");
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
    }
    const QString got = items.join('|');
    r.expect(got == a[2], a[1] + ": expected items \"" + a[2] + "\", got \"" + got + "\"");
}

// expect-completions
void ScenarioRunner::Checking::expectCompletions(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) w = c->lineEdit();
    auto* box = qobject_cast<QLineEdit*>(w);
    if (!box || !box->completer()) cannot(a[1] + " has no name completer");
    QStringList offered;
    for (const auto& n : offeredNames(box)) offered << qs(n);
    const QString got = offered.join(',');
    r.expect(got == a[2], a[1] + ": expected completions \"" + a[2] + "\", got \"" + got + "\"");
}

// expect-shortcut
void ScenarioRunner::Checking::expectShortcut(ScenarioRunner& r, const QStringList& a) {
    auto* item = qobject_cast<QAction*>(r.find(a[1]).object);
    if (!item) cannot(a[1] + " is not a menu item");
    const QString got = item->shortcut().toString(QKeySequence::PortableText);
    r.expect(got == a[2], a[1] + ": expected shortcut " + a[2] + ", got \"" + got + "\"");
}

// expect-visible
void ScenarioRunner::Checking::expectVisible(ScenarioRunner& r, const QStringList& a) {
    r.expectState(a[1], &QWidget::isVisible, true, "hidden");
}

// expect-hidden
void ScenarioRunner::Checking::expectHidden(ScenarioRunner& r, const QStringList& a) {
    r.expectState(a[1], &QWidget::isVisible, false, "visible");
}

// expect-enabled
void ScenarioRunner::Checking::expectEnabled(ScenarioRunner& r, const QStringList& a) {
    r.expectState(a[1], &QWidget::isEnabled, true, "disabled");
}

// expect-disabled
void ScenarioRunner::Checking::expectDisabled(ScenarioRunner& r, const QStringList& a) {
    r.expectState(a[1], &QWidget::isEnabled, false, "enabled");
}

// expect-checked
void ScenarioRunner::Checking::expectChecked(ScenarioRunner& r, const QStringList& a) {
    QObject* o = r.find(a[1]).object;
    int state;
    if (auto* box = qobject_cast<QCheckBox*>(o)) {
        state = box->checkState() == Qt::Checked            ? 1
                : box->checkState() == Qt::PartiallyChecked ? 2
                                                            : 0;
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        state = b->isChecked() ? 1 : 0;
    } else if (auto* item = qobject_cast<QAction*>(o)) {
        state = item->isChecked() ? 1 : 0;
    } else {
        cannot(a[1] + " cannot be ticked");
    }
    r.expect(QString::number(state) == a[2],
             a[1] + ": expected checked " + a[2] + ", got " + QString::number(state));
}

// expect-color
void ScenarioRunner::Checking::expectColor(ScenarioRunner& r, const QStringList& a) {
    const QColor c = background(r.widget(a[1]));
    const QString got = QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
    r.expect(got == a[2], a[1] + ": expected colour " + a[2] + ", got " + got);
}

// expect-open
void ScenarioRunner::Checking::expectOpen(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = findWindow(a[1]);
    r.expect(w && w->isVisible(), a[1] + " is not open");
}

// expect-closed
void ScenarioRunner::Checking::expectClosed(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = findWindow(a[1]);
    r.expect(!(w && w->isVisible()), a[1] + " is open");
}

// expect-position
void ScenarioRunner::Checking::expectPosition(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    const QString want = a[2] + "," + a[3];
    const QString got = QStringLiteral("%1,%2").arg(w->x()).arg(w->y());
    r.expect(got == want, a[1] + ": expected at " + want + ", got " + got);
}

// expect-geometry
void ScenarioRunner::Checking::expectGeometry(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    if (!w->isWindow()) cannot(a[1] + " is not a window");
    const QString want = a[2] + "," + a[3] + " " + a[4] + "x" + a[5];
    const QRect g = w->geometry();
    const QString got =
        QStringLiteral("%1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    r.expect(got == want, a[1] + ": expected " + want + ", got " + got);
}

// expect-row-height
void ScenarioRunner::Checking::expectRowHeight(ScenarioRunner& r, const QStringList& a) {
    auto* view = qobject_cast<QTableView*>(r.widget(a[1]));
    if (!view) cannot(a[1] + " is not a table");
    const int least = a[2].toInt();
    QStringList low;
    if (view->horizontalHeader()->isVisible() && view->horizontalHeader()->height() < least)
        low << QStringLiteral("header %1").arg(view->horizontalHeader()->height());
    for (int row = 0; row < view->model()->rowCount(); ++row)
        if (view->rowHeight(row) < least)
            low << QStringLiteral("row %1: %2").arg(row).arg(view->rowHeight(row));
    r.expect(low.isEmpty() && view->model()->rowCount() > 0,
             a[1] + ": rows lower than " + a[2] + " px (or none): " + low.join(", "));
}

// expect-fits
void ScenarioRunner::Checking::expectFits(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    if (!w->isWindow()) cannot(a[1] + " is not a window");
    const int areaW = a[2].toInt(), areaH = a[3].toInt();
    constexpr int titleBar = 30;  // caption and borders of a window at 96 dpi
    const QRect frame(w->pos(), QSize(w->width(), w->height() + titleBar));
    QStringList faults;
    if (w->width() > areaW || w->height() > areaH - titleBar)
        faults << QStringLiteral("inside %1x%2 exceeds %3x%4")
                      .arg(w->width())
                      .arg(w->height())
                      .arg(areaW)
                      .arg(areaH - titleBar);
    if (!QRect(0, 0, areaW, areaH).contains(frame))
        faults << QStringLiteral("frame %1,%2 %3x%4 leaves the work area")
                      .arg(frame.x())
                      .arg(frame.y())
                      .arg(frame.width())
                      .arg(frame.height());
    // A control a scroll area can bring into view is not cut off.
    for (const auto& cut : cutOffControls(*w)) faults << cut + " is cut off";
    r.expect(faults.isEmpty(), a[1] + " does not fit " + a[2] + "x" + a[3] + ": " +
                                   faults.mid(0, 6).join("; ") +
                                   (faults.size() > 6 ? QStringLiteral("; …") : QString()));
}

// expect-value
void ScenarioRunner::Checking::expectValue(ScenarioRunner& r, const QStringList& a) {
    auto v = r.runValue(a[1].toStdString());
    if (!v) cannot("no run-wide value " + a[1]);
    const QString got = QString::fromStdString(*v);
    r.expect(got == a[2], a[1] + ": expected " + a[2] + ", got " + got);
}

// expect-pointer
void ScenarioRunner::Checking::expectPointer(ScenarioRunner& r, const QStringList& a) {
    auto p = r.desktop_.pointer.last();
    const QString want = a[1] + "," + a[2];
    const QString got =
        p ? QStringLiteral("%1,%2").arg(p->x()).arg(p->y()) : QStringLiteral("none");
    r.expect(got == want, "expected pointer at " + want + ", got " + got);
}

// expect-sql
void ScenarioRunner::Checking::expectSql(ScenarioRunner& r, const QStringList& a) {
    const QString got = r.sqlRows(a[1]);
    r.expect(got == a[2], "\"" + a[1] + "\": expected \"" + a[2] + "\", got \"" + got + "\"");
}

// expect-cell
void ScenarioRunner::Checking::expectCell(ScenarioRunner& r, const QStringList& a) {
    auto* view = qobject_cast<QTableView*>(r.widget(a[1]));
    if (!view) cannot(a[1] + " is not a table");
    const auto index = view->model()->index(a[2].toInt(), a[3].toInt());
    const QString got = index.isValid() ? index.data().toString() : QStringLiteral("(none)");
    r.expect(got == a[4], a[1] + ": expected cell \"" + a[4] + "\", got \"" + got + "\"");
}

namespace {

QStringList dayFaults(ScenarioRunner& r) {
    Store* store = r.store();
    return invariants::faults(*store, r.countsResetByHand()) +
           invariants::windowFaults(*store, r.mainWindow());
}

}  // namespace

void ScenarioRunner::Checking::checkInvariants(ScenarioRunner& r, const QStringList&) {
    const QStringList faults = dayFaults(r);
    r.expect(faults.isEmpty(), faults.join("\n"));
}

void ScenarioRunner::Checking::expectFault(ScenarioRunner& r, const QStringList& a) {
    const QStringList faults = dayFaults(r);
    const bool named = std::any_of(faults.begin(), faults.end(),
                                   [&](const QString& f) { return f.startsWith(a[1]); });
    r.expect(named, "no fault \"" + a[1] + "\" among: " + faults.join(" / "));
}

// expect-help-page
void ScenarioRunner::Checking::expectHelpPage(ScenarioRunner& r, const QStringList& a) {
    auto* help = qobject_cast<HelpWindow*>(findWindow(QStringLiteral("FormHelp")));
    if (!help || !help->isVisible()) {
        r.expect(false, "FormHelp is not open");
        return;
    }
    r.expect(help->page() == a[1], "FormHelp: expected the page " + a[1] + ", got " + help->page());
}

// expect-keyboard
void ScenarioRunner::Checking::expectKeyboard(ScenarioRunner& r, const QStringList& a) {
    QWidget* window = r.find(a[1]).window;
    if (!window->isVisible()) cannot(a[1] + " is not shown");
    QStringList unnamed;
    for (QWidget* w : tabControls(window))
        if (w->accessibleName().trimmed().isEmpty())
            unnamed << (w->objectName().isEmpty() ? QString::fromUtf8(w->metaObject()->className())
                                                  : w->objectName());
    r.expect(unnamed.isEmpty(),
             a[1] + ": controls without an accessible name: " + unnamed.join(' '));
    r.expect(mainButtonDeclared(window),
             a[1] + " names no main button and does not say it has none");
    if (auto* main = mainButton(window))
        r.expect(main->window() == window, a[1] + ": its main button lies in another window");
    if (r.mainWindow() && window == static_cast<QWidget*>(r.mainWindow())) return;
    r.key(window, QStringLiteral("Esc"));
    QWidget* still = findWindow(a[1]);
    r.expect(!still || !still->isVisible(), a[1] + " stays open after Esc");
}

}  // namespace daike
