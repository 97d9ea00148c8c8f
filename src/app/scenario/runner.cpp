#include "runner.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTextStream>
#include <iostream>

#include "basedata/timetable_documents.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "shell/window_registry.h"
#include "store/store.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

struct CannotRun {
    QString why;
};

[[noreturn]] void cannot(const QString& why) {
    throw CannotRun{why};
}

void out(const QString& s) {
    std::cout << s.toStdString() << std::endl;
}

std::chrono::sys_days parseDay(const QString& s) {
    static const QRegularExpression re("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$");
    auto m = re.match(s);
    if (!m.hasMatch()) cannot("not a date (YYYY-MM-DD): " + s);
    using namespace std::chrono;
    year_month_day d{year(m.captured(1).toInt()), month(m.captured(2).toUInt()),
                     day(m.captured(3).toUInt())};
    if (!d.ok()) cannot("no such day: " + s);
    return sys_days(d);
}

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

ScenarioRunner::ScenarioRunner(std::filesystem::path programDir) : dir_(std::move(programDir)) {
    // What the scripted printer prints lands beside the database, one PDF a job.
    desktop_.printer.setDirectory(QString::fromStdString((dir_ / "printed").string()));
}

ScenarioRunner::~ScenarioRunner() {
    closeProgram();
}

QStringList ScenarioRunner::split(const QString& line, QString* error) {
    QStringList args;
    QString cur;
    bool inQuotes = false, have = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes) {
            if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                cur += line[++i];
            } else if (c == '\\' && i + 1 < line.size() && line[i + 1] == 'n') {
                cur += '\n';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                cur += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (have) args << cur;
            cur.clear();
            have = false;
        } else if (c == '"') {
            inQuotes = true;
            have = true;
        } else if (c == '#' && !have) {
            break;
        } else {
            cur += c;
            have = true;
        }
    }
    if (inQuotes && error) *error = "unclosed double quote";
    if (have) args << cur;
    return args;
}

void ScenarioRunner::settle() {
    for (int i = 0; i < 6; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void ScenarioRunner::expect(bool ok, const QString& failure) {
    if (ok) {
        ++passed_;
    } else {
        ++failed_;
        out(QStringLiteral("line %1: %2").arg(line_).arg(failure));
    }
}

void ScenarioRunner::checkAnswers() {
    const auto& m = desktop_.boxes.mismatches();
    for (; seenMismatches_ < m.size(); ++seenMismatches_)
        expect(false, "queued answer does not fit the box: " + m[seenMismatches_]);
}

ScenarioRunner::Target ScenarioRunner::find(const QString& path) {
    static const QRegularExpression re("^([^.\\[\\]]+)(?:\\.([^.\\[\\]]+)(?:\\[(\\d+)\\])?)?$");
    auto m = re.match(path);
    if (!m.hasMatch()) cannot("not a control path: " + path);
    Target t;
    t.window = findWindow(m.captured(1));
    if (!t.window) cannot("no window " + m.captured(1));
    if (m.captured(2).isEmpty()) {
        t.object = t.window;
        return t;
    }
    QString name = m.captured(2);
    if (!m.captured(3).isEmpty()) name = arrayName(name, m.captured(3).toInt());
    if (auto* w = t.window->findChild<QWidget*>(name)) {
        t.object = w;
    } else if (auto* a = t.window->findChild<QAction*>(name)) {
        t.object = a;
    } else {
        cannot("no control " + name + " in " + m.captured(1));
    }
    return t;
}

QWidget* ScenarioRunner::widget(const QString& path) {
    auto* w = qobject_cast<QWidget*>(find(path).object);
    if (!w) cannot(path + " is not a control");
    return w;
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

void ScenarioRunner::sql(const QString& text) {
    if (program_) {
        program_->store().execScript(text.toStdString());
        return;
    }
    // Before the program starts: the database as a first start would make it.
    auto store = Store::open(dir_);
    store->execScript(text.toStdString());
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

void ScenarioRunner::closeProgram() {
    if (!program_) return;
    program_->mainWindow().close();
    settle();
    program_.reset();
    settle();
}

bool ScenarioRunner::step(const QStringList& a) {
    const QString cmd = a[0];
    auto need = [&](int n) {
        if (a.size() != n + 1) cannot(QStringLiteral("%1 takes %2 argument(s)").arg(cmd).arg(n));
    };
    auto running = [&] {
        if (!program_) cannot(cmd + " needs a running program (start)");
    };

    if (cmd == "today") {
        need(1);
        desktop_.clock.set(parseDay(a[1]));
    } else if (cmd == "screen") {
        need(1);
        bool ok = false;
        const int w = a[1].toInt(&ok);
        if (!ok || w <= 0) cannot("not a width: " + a[1]);
        desktop_.screen.setWidth(w);
    } else if (cmd == "sql") {
        need(1);
        sql(a[1]);
    } else if (cmd == "export-timetables") {
        // Every teacher's timetable as 任课表/NAME.docx in the program directory, as daike-demo
        // --timetables writes them: documents for the import to read.
        need(0);
        std::unique_ptr<Store> own;
        Store& store = program_ ? program_->store() : *(own = Store::open(dir_));
        timetable_import::exportTimetableDocuments(store, dir_);
    } else if (cmd == "start") {
        need(0);
        if (program_) cannot("the program is already running");
        program_ = Program::start(desktop_.platform(), dir_);
        settle();
    } else if (cmd == "answer") {
        need(1);
        desktop_.boxes.queue(a[1]);
    } else if (cmd == "menu") {
        need(1);
        running();
        auto* item = program_->mainWindow().action(a[1]);
        if (!item) cannot("no menu item " + a[1]);
        if (item->isEnabled()) item->trigger();
        settle();
    } else if (cmd == "click") {
        need(1);
        QWidget* w = widget(a[1]);
        if (w->isEnabled() && w->isVisible()) {
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                b->click();
            } else {
                const QPointF at = QPointF(w->rect().center());
                const QPointF global = QPointF(w->mapToGlobal(at.toPoint()));
                QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                  Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(w, &press);
                QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                    Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(w, &release);
            }
        }
        settle();
    } else if (cmd == "type") {
        need(2);
        QWidget* w = keyTarget(widget(a[1]));
        if (w->isEnabled() && w->isVisible()) {
            w->setFocus();
            if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
            for (QChar c : a[2]) {
                const int key = c.unicode() < 128 ? QKeySequence(QString(c))[0].key() : 0;
                sendKey(w, key, Qt::NoModifier, QString(c));
            }
        }
        settle();
    } else if (cmd == "key") {
        need(2);
        QWidget* w = keyTarget(widget(a[1]));
        if (w->isEnabled() && w->isVisible()) {
            w->setFocus();
            if (a[2].size() == 1) {
                const QChar c = a[2][0];
                const int key = c.unicode() < 128 ? QKeySequence(a[2])[0].key() : 0;
                sendKey(w, key, Qt::NoModifier, a[2]);
            } else {
                QKeySequence seq(a[2]);
                if (seq.count() != 1 || seq[0].key() == Qt::Key_unknown) cannot("no key " + a[2]);
                const auto k = seq[0];
                QString text;
                if (k.key() == Qt::Key_Return || k.key() == Qt::Key_Enter) text = "\r";
                sendKey(w, k.key(), k.keyboardModifiers(), text);
            }
        }
        settle();
    } else if (cmd == "choose") {
        need(2);
        if (auto* list = qobject_cast<QListWidget*>(widget(a[1]))) {
            // A list: the first item that starts with the text becomes the current one.
            for (int i = 0; i < list->count(); ++i) {
                if (list->item(i)->text().startsWith(a[2])) {
                    list->setCurrentRow(i);
                    settle();
                    return true;
                }
            }
            cannot("no item " + a[2] + " in " + a[1]);
        }
        auto* c = qobject_cast<QComboBox*>(widget(a[1]));
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
        settle();
    } else if (cmd == "close") {
        need(1);
        running();
        if (a[1] == "Form2") {
            closeProgram();
        } else {
            auto* w = findWindow(a[1]);
            if (!w) cannot("no window " + a[1]);
            w->close();
            settle();
        }
    } else if (cmd == "screenshot") {
        need(2);
        QWidget* w = widget(a[1]);
        settle();
        QDir().mkpath(QFileInfo(a[2]).absolutePath());
        if (!w->grab().save(a[2])) cannot("could not write " + a[2]);
    } else if (cmd == "expect-message") {
        need(1);
        const auto& shown = desktop_.boxes.shown();
        if (checkedMessages_ < shown.size()) {
            const QString got = shown[checkedMessages_++].text;
            expect(got == a[1], "expected message \"" + a[1] + "\", got \"" + got + "\"");
        } else {
            expect(false, "expected message \"" + a[1] + "\", none shown");
        }
    } else if (cmd == "expect-message-starting") {
        // For messages that end in what a run cannot fix beforehand, such as a file's size.
        need(1);
        const auto& shown = desktop_.boxes.shown();
        const QString got =
            checkedMessages_ < shown.size() ? shown[checkedMessages_++].text : QString();
        expect(got.startsWith(a[1]),
               "expected a message starting \"" + a[1] + "\", got \"" + got + "\"");
    } else if (cmd == "expect-no-message") {
        need(0);
        const auto& shown = desktop_.boxes.shown();
        expect(checkedMessages_ == shown.size(),
               checkedMessages_ < shown.size()
                   ? "expected no message, got \"" + shown[checkedMessages_].text + "\""
                   : QString());
        checkedMessages_ = shown.size();
    } else if (cmd == "skip-messages") {
        need(0);
        checkedMessages_ = desktop_.boxes.shown().size();
    } else if (cmd == "expect-text") {
        need(2);
        const QString got = textOf(find(a[1]).object);
        expect(got == a[2], a[1] + ": expected text \"" + a[2] + "\", got \"" + got + "\"");
    } else if (cmd == "expect-items") {
        need(2);
        auto* c = qobject_cast<QComboBox*>(widget(a[1]));
        if (!c) cannot(a[1] + " is not a drop-down list");
        QStringList items;
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
        const QString got = items.join('|');
        expect(got == a[2], a[1] + ": expected items \"" + a[2] + "\", got \"" + got + "\"");
    } else if (cmd == "expect-shortcut") {
        need(2);
        auto* item = qobject_cast<QAction*>(find(a[1]).object);
        if (!item) cannot(a[1] + " is not a menu item");
        const QString got = item->shortcut().toString(QKeySequence::PortableText);
        expect(got == a[2], a[1] + ": expected shortcut " + a[2] + ", got \"" + got + "\"");
    } else if (cmd == "expect-visible" || cmd == "expect-hidden") {
        need(1);
        QObject* o = find(a[1]).object;
        bool visible;
        if (auto* item = qobject_cast<QAction*>(o))
            visible = item->isVisible();
        else
            visible = qobject_cast<QWidget*>(o)->isVisible();
        const bool want = cmd == "expect-visible";
        expect(visible == want, a[1] + (want ? " is hidden" : " is visible"));
    } else if (cmd == "expect-enabled" || cmd == "expect-disabled") {
        need(1);
        QObject* o = find(a[1]).object;
        bool enabled;
        if (auto* item = qobject_cast<QAction*>(o))
            enabled = item->isEnabled();
        else
            enabled = qobject_cast<QWidget*>(o)->isEnabled();
        const bool want = cmd == "expect-enabled";
        expect(enabled == want, a[1] + (want ? " is disabled" : " is enabled"));
    } else if (cmd == "expect-checked") {
        need(2);
        QObject* o = find(a[1]).object;
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
        expect(QString::number(state) == a[2],
               a[1] + ": expected checked " + a[2] + ", got " + QString::number(state));
    } else if (cmd == "expect-color") {
        need(2);
        const QColor c = background(widget(a[1]));
        const QString got = QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
        expect(got == a[2], a[1] + ": expected colour " + a[2] + ", got " + got);
    } else if (cmd == "expect-open" || cmd == "expect-closed") {
        need(1);
        QWidget* w = findWindow(a[1]);
        const bool open = w && w->isVisible();
        const bool want = cmd == "expect-open";
        expect(open == want, a[1] + (want ? " is not open" : " is open"));
    } else if (cmd == "expect-position") {
        need(3);
        QWidget* w = widget(a[1]);
        const QString want = a[2] + "," + a[3];
        const QString got = QStringLiteral("%1,%2").arg(w->x()).arg(w->y());
        expect(got == want, a[1] + ": expected at " + want + ", got " + got);
    } else if (cmd == "expect-value") {
        need(2);
        running();
        auto v = program_->context().values.byName(a[1].toStdString());
        if (!v) cannot("no run-wide value " + a[1]);
        const QString got = QString::fromStdString(*v);
        expect(got == a[2], a[1] + ": expected " + a[2] + ", got " + got);
    } else if (cmd == "expect-pointer") {
        need(2);
        auto p = desktop_.pointer.last();
        const QString want = a[1] + "," + a[2];
        const QString got =
            p ? QStringLiteral("%1,%2").arg(p->x()).arg(p->y()) : QStringLiteral("none");
        expect(got == want, "expected pointer at " + want + ", got " + got);
    } else if (cmd == "set") {
        need(2);
        running();
        if (!program_->context().values.setByName(a[1].toStdString(), a[2].toStdString()))
            cannot("no run-wide value " + a[1]);
    } else if (cmd == "open") {
        need(1);
        running();
        if (!registeredWindow(a[1])) cannot("no registered window or action " + a[1]);
        program_->mainWindow().open(a[1]);
        settle();
    } else if (cmd == "expect-sql") {
        need(2);
        const QString got = sqlRows(a[1]);
        expect(got == a[2], "\"" + a[1] + "\": expected \"" + a[2] + "\", got \"" + got + "\"");
    } else {
        cannot("unknown command " + cmd);
    }
    checkAnswers();
    return true;
}

int ScenarioRunner::run(const QString& scenarioFile) {
    QFile f(scenarioFile);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        out("cannot read " + scenarioFile);
        return 2;
    }
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    bool broken = false;
    while (!in.atEnd()) {
        const QString text = in.readLine();
        ++line_;
        QString splitError;
        QStringList args = split(text, &splitError);
        // "$DIR" stands for the run's data directory, which is made afresh for every run.
        for (auto& arg : args) arg.replace("$DIR", QString::fromStdString(dir_.string()));
        if (!splitError.isEmpty()) {
            out(QStringLiteral("line %1: cannot run: %2").arg(line_).arg(splitError));
            broken = true;
            break;
        }
        if (args.isEmpty()) continue;
        try {
            step(args);
        } catch (const CannotRun& e) {
            out(QStringLiteral("line %1: cannot run: %2").arg(line_).arg(e.why));
            broken = true;
            break;
        } catch (const std::exception& e) {
            out(QStringLiteral("line %1: cannot run: %2")
                    .arg(line_)
                    .arg(QString::fromUtf8(e.what())));
            broken = true;
            break;
        }
    }
    closeProgram();
    if (!broken && desktop_.boxes.pendingAnswers() > 0) {
        ++line_;
        expect(
            false,
            QStringLiteral("%1 queued answer(s) never used").arg(desktop_.boxes.pendingAnswers()));
    }
    out(QStringLiteral("%1 passed, %2 failed").arg(passed_).arg(failed_ + (broken ? 1 : 0)));
    return broken ? 2 : (failed_ > 0 ? 1 : 0);
}

}  // namespace daike
