// The scenario commands of one group. Acting: message-box answers, menu items, clicks, typing,
// keys, choices, screenshots.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTableView>
#include <algorithm>

#include "commands.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "ui/name_completion.h"
#include "ui/widgets.h"

namespace daike {

using scenario::cannot;

namespace {

void sendKey(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

QWidget* keyTarget(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
        return combo->lineEdit();
    return w;
}

}  // namespace

void ScenarioRunner::click(QWidget* w) {
    if (w->isEnabled() && w->isVisible()) {
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            b->click();
        } else {
            const QPointF at = QPointF(w->rect().center());
            const QPointF global = QPointF(w->mapToGlobal(at.toPoint()));
            QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(w, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(w, &release);
        }
    }
    settle();
}

void ScenarioRunner::key(QWidget* target, const QString& name) {
    QWidget* w = keyTarget(target);
    if (w->isEnabled() && w->isVisible()) {
        w->setFocus();
        if (name.size() == 1) {
            const QChar c = name[0];
            const int k = c.unicode() < 128 ? QKeySequence(name)[0].key() : 0;
            sendKey(w, k, Qt::NoModifier, name);
        } else {
            QKeySequence seq(name);
            if (seq.count() != 1 || seq[0].key() == Qt::Key_unknown) cannot("no key " + name);
            const auto k = seq[0];
            QString text;
            if (k.key() == Qt::Key_Return || k.key() == Qt::Key_Enter) text = "\r";
            sendKey(w, k.key(), k.keyboardModifiers(), text);
        }
    }
    settle();
}

// answer
void ScenarioRunner::Acting::answer(ScenarioRunner& r, const QStringList& a) {
    r.desktop_.boxes.queue(a[1]);
}

// menu
void ScenarioRunner::Acting::menu(ScenarioRunner& r, const QStringList& a) {
    auto* item = r.program_->mainWindow().action(a[1]);
    if (!item) cannot("no menu item " + a[1]);
    if (item->isEnabled()) item->trigger();
    r.settle();
}

// click
void ScenarioRunner::Acting::click(ScenarioRunner& r, const QStringList& a) {
    r.click(r.widget(a[1]));
}

// type
void ScenarioRunner::Acting::type(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = keyTarget(r.widget(a[1]));
    if (w->isEnabled() && w->isVisible()) {
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
        if (auto* sb = qobject_cast<QAbstractSpinBox*>(w)) sb->selectAll();
        for (QChar c : a[2]) {
            const int key = c.unicode() < 128 ? QKeySequence(QString(c))[0].key() : 0;
            sendKey(w, key, Qt::NoModifier, QString(c));
        }
    }
    r.settle();
}

// key
void ScenarioRunner::Acting::key(ScenarioRunner& r, const QStringList& a) {
    r.key(r.widget(a[1]), a[2]);
}

// choose-completion
void ScenarioRunner::Acting::chooseCompletion(ScenarioRunner& r, const QStringList& a) {
    auto* box = qobject_cast<QLineEdit*>(keyTarget(r.widget(a[1])));
    if (!box || !box->completer()) cannot(a[1] + " has no name completer");
    const auto offered = offeredNames(box);
    if (std::find(offered.begin(), offered.end(), ss(a[2])) == offered.end())
        cannot(a[2] + " is not offered by " + a[1]);
    auto* completer = box->completer();
    if (completer->popup()) completer->popup()->hide();
    emit completer->activated(a[2]);
    r.settle();
}

// choose
void ScenarioRunner::Acting::choose(ScenarioRunner& r, const QStringList& a) {
    if (auto* list = qobject_cast<QListWidget*>(r.widget(a[1]))) {
        int i = 0;
        while (i < list->count() && !list->item(i)->text().startsWith(a[2])) ++i;
        if (i == list->count()) cannot("no item " + a[2] + " in " + a[1]);
        list->setCurrentRow(i);
        r.settle();
        return;
    }
    auto* c = qobject_cast<QComboBox*>(r.widget(a[1]));
    if (!c) cannot(a[1] + " is not a drop-down list");
    if (c->isEnabled() && c->isVisible()) {
        const int i = c->findText(a[2]);
        if (i < 0) {
            if (!c->isEditable()) cannot("no item " + a[2] + " in " + a[1]);
            c->setEditText(a[2]);
        } else {
            c->setCurrentIndex(i);
            emit c->activated(i);
            emit c->textActivated(a[2]);
        }
    }
    r.settle();
}

// screenshot
void ScenarioRunner::Acting::screenshot(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    r.settle();
    QDir().mkpath(QFileInfo(a[2]).absolutePath());
    if (!w->grab().save(a[2])) cannot("could not write " + a[2]);
}

// click-header
void ScenarioRunner::Acting::clickHeader(ScenarioRunner& r, const QStringList& a) {
    auto* view = qobject_cast<QTableView*>(r.widget(a[1]));
    if (!view) cannot(a[1] + " is not a table");
    emit view->horizontalHeader()->sectionClicked(a[2].toInt());
    r.settle();
}

}  // namespace daike
