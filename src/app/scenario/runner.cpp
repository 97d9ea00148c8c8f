#include "runner.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTextEdit>
#include <QTextStream>
#include <algorithm>
#include <iostream>

#include "basedata/demo_school.h"
#include "basedata/timetable_documents.h"
#include "invariants.h"
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

bool quietRun = false;

void out(const QString& s) {
    if (!quietRun) std::cout << s.toStdString() << std::endl;
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
    for (int i = 0; i < 6; ++i) {  // not the week: rounds of posted events
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
    // One name may serve two parts of a window that are never shown together (the main
    // window's Label1 heads the record viewer and the import progress): the shown one is meant.
    const auto named = t.window->findChildren<QWidget*>(name);
    QWidget* shown = nullptr;
    for (auto* w : named)
        if (w->isVisible() && !shown) shown = w;
    if (auto* w = shown ? shown : named.value(0)) {
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

QString ScenarioRunner::inProgramDir(const QString& path) const {
    if (QFileInfo(path).isAbsolute()) return path;
    return QString::fromStdString((dir_ / path.toStdString()).string());
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

// ---- The commands ------------------------------------------------------------------------

namespace {
using Args = QStringList;
}

const std::vector<ScenarioRunner::Command>& ScenarioRunner::commands() {
    using R = ScenarioRunner;
    // A command that acts on the program needs it started; the help lists them in this order.
    static const std::vector<Command> all = {
        // Set-up
        {"today", 1, "YYYY-MM-DD", "the scripted clock's date", false,
         [](R& r, const Args& a) { r.desktop_.clock.set(parseDay(a[1])); }},
        {"screen", 1, "WIDTH", "the screen's width in pixels (placement)", false,
         [](R& r, const Args& a) {
             bool ok = false;
             const int w = a[1].toInt(&ok);
             if (!ok || w <= 0) cannot("not a width: " + a[1]);
             r.desktop_.screen.setWidth(w);
         }},
        {"sql", 1, "\"SQL\"",
         "runs SQL on the database (before start: creates it as a first start would)", false,
         [](R& r, const Args& a) { r.sql(a[1]); }},
        {"export-timetables", 0, "",
         "writes every teacher's timetable as 任课表/NAME.docx in the program directory (as "
         "daike-demo --timetables): documents for the import to read",
         false,
         [](R& r, const Args&) {
             std::unique_ptr<Store> own;
             Store& store = r.program_ ? r.program_->store() : *(own = Store::open(r.dir_));
             timetable_import::exportTimetableDocuments(store, r.dir_);
         }},
        {"demo", 0, "",
         "(before start) writes the demo school, its term begun four weeks before today", false,
         [](R& r, const Args&) {
             if (r.program_) cannot("demo comes before start");
             auto store = Store::open(r.dir_);
             auto plan = demo::demoPlan();
             plan.termStart = demo::termStartBefore(r.desktop_.clock.today());
             demo::fillSchool(*store, plan);
         }},
        {"write-file", 2, "NAME \"TEXT\"", "puts a file with that text in the program directory",
         false,
         [](R& r, const Args& a) {
             QFile f(r.inProgramDir(a[1]));
             if (!f.open(QIODevice::WriteOnly) || f.write(a[2].toUtf8()) < 0)
                 cannot("could not write " + a[1]);
         }},
        {"answer-at-random", 1, "SEED",
         "from now on a message box with no queued answer takes a button at random (seeded)", false,
         [](R& r, const Args& a) { r.desktop_.boxes.answerAtRandom(a[1].toUInt()); }},
        {"skip-unrunnable", 0, "",
         "from now on a line that cannot run (a window not open, a control gone) is passed over "
         "instead of ending the scenario: the random operator's scenarios replay as they ran",
         false, [](R& r, const Args&) { r.skipUnrunnable_ = true; }},
        {"restart", 0, "", "closes the program as its main window would and starts it again", true,
         [](R& r, const Args&) {
             r.closeProgram();
             r.program_ = Program::start(r.desktop_.platform(), r.dir_);
             r.settle();
         }},
        {"start", 0, "", "starts the program on the run's directory", false,
         [](R& r, const Args&) {
             if (r.program_) cannot("the program is already running");
             r.program_ = Program::start(r.desktop_.platform(), r.dir_);
             r.settle();
         }},
        {"close", 1, "W", "closes window W; close Form2 ends the run", true,
         [](R& r, const Args& a) {
             if (a[1] == "Form2") {
                 r.closeProgram();
                 return;
             }
             auto* w = findWindow(a[1]);
             if (!w) cannot("no window " + a[1]);
             w->close();
             r.settle();
         }},
        {"set", 2, "NAME VALUE", "sets a run-wide value by name (as expect-value reads it)", true,
         [](R& r, const Args& a) {
             if (!r.program_->context().values.setByName(a[1].toStdString(), a[2].toStdString()))
                 cannot("no run-wide value " + a[1]);
         }},
        {"open", 1, "W",
         "runs the registry's row named W (a window or an action) without the login", true,
         [](R& r, const Args& a) {
             if (!registeredWindow(a[1])) cannot("no registered window or action " + a[1]);
             r.program_->mainWindow().open(a[1]);
             r.settle();
         }},
        // Acting
        {"answer", 1, "BUTTON", "queues the button for the next message box (else its first)",
         false, [](R& r, const Args& a) { r.desktop_.boxes.queue(a[1]); }},
        {"answer-file", 1, "PATH",
         "queues a path for the next file dialog, a relative one in the program directory "
         "(unqueued: saving takes the suggested path, opening is cancelled)",
         false, [](R& r, const Args& a) { r.desktop_.files.queue(r.inProgramDir(a[1])); }},
        {"answer-file-cancel", 0, "", "queues 取消 for the next file dialog", false,
         [](R& r, const Args&) { r.desktop_.files.queue(std::nullopt); }},
        {"menu", 1, "ITEM", "triggers a menu item of Form2 by its menu name (when enabled)", true,
         [](R& r, const Args& a) {
             auto* item = r.program_->mainWindow().action(a[1]);
             if (!item) cannot("no menu item " + a[1]);
             if (item->isEnabled()) item->trigger();
             r.settle();
         }},
        {"click", 1, "W.C[i]", "clicks a control (disabled or hidden ones ignore it)", false,
         [](R& r, const Args& a) { r.click(r.widget(a[1])); }},
        {"type", 2, "W.C[i] TEXT", "selects all in the box, then types the text key by key", false,
         [](R& r, const Args& a) {
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
         }},
        {"key", 2, "W.C[i] KEY", "one key: Left, Right, Home, End, Backspace, Return, Ctrl+A, x",
         false, [](R& r, const Args& a) { r.key(r.widget(a[1]), a[2]); }},
        {"choose", 2, "W.C[i] ITEM",
         "chooses an item of a drop-down list (or types it); in a list, the first item starting "
         "with ITEM",
         false,
         [](R& r, const Args& a) {
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
         }},
        {"screenshot", 2, "W[.C] FILE.png", "saves a picture of a window or control", false,
         [](R& r, const Args& a) {
             QWidget* w = r.widget(a[1]);
             r.settle();
             QDir().mkpath(QFileInfo(a[2]).absolutePath());
             if (!w->grab().save(a[2])) cannot("could not write " + a[2]);
         }},
        // Checking
        {"expect-message", 1, "\"TEXT\"", "the next message box not yet checked said TEXT", false,
         [](R& r, const Args& a) {
             const auto& shown = r.desktop_.boxes.shown();
             if (r.checkedMessages_ < shown.size()) {
                 const QString got = shown[r.checkedMessages_++].text;
                 r.expect(got == a[1], "expected message \"" + a[1] + "\", got \"" + got + "\"");
             } else {
                 r.expect(false, "expected message \"" + a[1] + "\", none shown");
             }
         }},
        {"expect-message-starting", 1, "\"TEXT\"",
         "the next message box not yet checked began with TEXT (for texts ending in a file's size)",
         false,
         [](R& r, const Args& a) {
             const auto& shown = r.desktop_.boxes.shown();
             const QString got =
                 r.checkedMessages_ < shown.size() ? shown[r.checkedMessages_++].text : QString();
             r.expect(got.startsWith(a[1]),
                      "expected a message starting \"" + a[1] + "\", got \"" + got + "\"");
         }},
        {"expect-no-message", 0, "", "no message box since the last one checked", false,
         [](R& r, const Args&) {
             const auto& shown = r.desktop_.boxes.shown();
             r.expect(r.checkedMessages_ == shown.size(),
                      r.checkedMessages_ < shown.size()
                          ? "expected no message, got \"" + shown[r.checkedMessages_].text + "\""
                          : QString());
             r.checkedMessages_ = shown.size();
         }},
        {"skip-messages", 0, "", "passes over the message boxes shown so far", false,
         [](R& r, const Args&) { r.checkedMessages_ = r.desktop_.boxes.shown().size(); }},
        {"expect-text", 2, "W[.C[i]] \"TEXT\"",
         "a control's text (a window: its caption; a text box: what it shows)", false,
         [](R& r, const Args& a) {
             const QString got = r.textOf(r.find(a[1]).object);
             r.expect(got == a[2], a[1] + ": expected text \"" + a[2] + "\", got \"" + got + "\"");
         }},
        {"expect-items", 2, "W.C \"a|b|c\"", "the items of a drop-down list in order", false,
         [](R& r, const Args& a) {
             auto* c = qobject_cast<QComboBox*>(r.widget(a[1]));
             if (!c) cannot(a[1] + " is not a drop-down list");
             QStringList items;
             for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
             const QString got = items.join('|');
             r.expect(got == a[2], a[1] + ": expected items \"" + a[2] + "\", got \"" + got + "\"");
         }},
        {"expect-shortcut", 2, "Form2.ITEM KEYS", "a menu item's shortcut", false,
         [](R& r, const Args& a) {
             auto* item = qobject_cast<QAction*>(r.find(a[1]).object);
             if (!item) cannot(a[1] + " is not a menu item");
             const QString got = item->shortcut().toString(QKeySequence::PortableText);
             r.expect(got == a[2], a[1] + ": expected shortcut " + a[2] + ", got \"" + got + "\"");
         }},
        {"expect-visible", 1, "W.C[i]", "the control is shown", false,
         [](R& r, const Args& a) { r.expectState(a[1], &QWidget::isVisible, true, "hidden"); }},
        {"expect-hidden", 1, "W.C[i]", "the control is hidden", false,
         [](R& r, const Args& a) { r.expectState(a[1], &QWidget::isVisible, false, "visible"); }},
        {"expect-enabled", 1, "W.C[i]", "the control is enabled", false,
         [](R& r, const Args& a) { r.expectState(a[1], &QWidget::isEnabled, true, "disabled"); }},
        {"expect-disabled", 1, "W.C[i]", "the control is disabled", false,
         [](R& r, const Args& a) { r.expectState(a[1], &QWidget::isEnabled, false, "enabled"); }},
        {"expect-checked", 2, "W.C[i] 0|1|2", "a check box, option or menu item's tick", false,
         [](R& r, const Args& a) {
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
         }},
        {"expect-color", 2, "W.C[i] R,G,B", "a control's background colour", false,
         [](R& r, const Args& a) {
             const QColor c = background(r.widget(a[1]));
             const QString got =
                 QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
             r.expect(got == a[2], a[1] + ": expected colour " + a[2] + ", got " + got);
         }},
        {"expect-open", 1, "W", "window W is open and shown", false,
         [](R& r, const Args& a) {
             QWidget* w = findWindow(a[1]);
             r.expect(w && w->isVisible(), a[1] + " is not open");
         }},
        {"expect-closed", 1, "W", "window W is not shown", false,
         [](R& r, const Args& a) {
             QWidget* w = findWindow(a[1]);
             r.expect(!(w && w->isVisible()), a[1] + " is open");
         }},
        {"expect-position", 3, "W[.C] X Y",
         "a control's position in its parent, a window's on the screen", false,
         [](R& r, const Args& a) {
             QWidget* w = r.widget(a[1]);
             const QString want = a[2] + "," + a[3];
             const QString got = QStringLiteral("%1,%2").arg(w->x()).arg(w->y());
             r.expect(got == want, a[1] + ": expected at " + want + ", got " + got);
         }},
        {"expect-fits", 3, "W WIDTH HEIGHT",
         "window W, title bar of 30 px included, lies at its placed position inside a work area "
         "of that size; its inside is at most WIDTH x (HEIGHT-30); no named control of it reaches "
         "past its edge",
         false,
         [](R& r, const Args& a) {
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
             for (QWidget* c : w->findChildren<QWidget*>()) {
                 if (c->isWindow() || c->objectName().isEmpty() ||
                     c->objectName().startsWith("qt_"))
                     continue;
                 const QRect at(c->mapTo(w, QPoint(0, 0)), c->size());
                 if (!w->rect().contains(at))
                     faults << QStringLiteral("%1 at %2,%3 %4x%5 is cut off")
                                   .arg(c->objectName())
                                   .arg(at.x())
                                   .arg(at.y())
                                   .arg(at.width())
                                   .arg(at.height());
             }
             r.expect(faults.isEmpty(),
                      a[1] + " does not fit " + a[2] + "x" + a[3] + ": " +
                          faults.mid(0, 6).join("; ") +
                          (faults.size() > 6 ? QStringLiteral("; …") : QString()));
         }},
        {"check-invariants", 0, "",
         "the stored day is sound: every cover stands for a lesson of its absent teacher, no "
         "substitute twice in a period, tallies equal the records, marks match the records",
         true,
         [](R& r, const Args&) {
             const QStringList faults =
                 invariants::faults(r.program_->store()) +
                 invariants::windowFaults(r.program_->store(), &r.program_->mainWindow());
             r.expect(faults.isEmpty(), faults.join("\n"));
         }},
        {"expect-fault", 1, "\"RULE\"",
         "check-invariants would name a broken rule starting with RULE (the oracle's own test)",
         true,
         [](R& r, const Args& a) {
             const QStringList faults =
                 invariants::faults(r.program_->store()) +
                 invariants::windowFaults(r.program_->store(), &r.program_->mainWindow());
             const bool named = std::any_of(faults.begin(), faults.end(),
                                            [&](const QString& f) { return f.startsWith(a[1]); });
             r.expect(named, "no fault \"" + a[1] + "\" among: " + faults.join(" / "));
         }},
        {"expect-value", 2, "NAME VALUE", "a run-wide value (当前星期, 代课方式, …) as text", true,
         [](R& r, const Args& a) {
             auto v = r.program_->context().values.byName(a[1].toStdString());
             if (!v) cannot("no run-wide value " + a[1]);
             const QString got = QString::fromStdString(*v);
             r.expect(got == a[2], a[1] + ": expected " + a[2] + ", got " + got);
         }},
        {"expect-pointer", 2, "X Y", "where the pointer was last put", false,
         [](R& r, const Args& a) {
             auto p = r.desktop_.pointer.last();
             const QString want = a[1] + "," + a[2];
             const QString got =
                 p ? QStringLiteral("%1,%2").arg(p->x()).arg(p->y()) : QStringLiteral("none");
             r.expect(got == want, "expected pointer at " + want + ", got " + got);
         }},
        {"expect-sql", 2, "\"SELECT …\" \"a|b;c|d\"",
         "the rows of a query in SQLite's text form, Null as NULL", false,
         [](R& r, const Args& a) {
             const QString got = r.sqlRows(a[1]);
             r.expect(got == a[2],
                      "\"" + a[1] + "\": expected \"" + a[2] + "\", got \"" + got + "\"");
         }},
        {"expect-printed", 1, "N",
         "the scripted printer has printed N pages in this run, all jobs (previews apart)", false,
         [](R& r, const Args& a) {
             int pages = 0;
             for (const auto& job : r.printedJobs()) pages += job.pages;
             const QString got = QString::number(pages);
             r.expect(got == a[1], "expected " + a[1] + " printed page(s), got " + got);
         }},
        {"expect-file", 1, "PATH", "a file (relative: in the program directory) exists, not empty",
         false,
         [](R& r, const Args& a) {
             const QFileInfo f(r.inProgramDir(a[1]));
             r.expect(f.exists() && f.size() > 0, "expected a file " + a[1]);
         }},
        {"expect-no-file", 1, "PATH", "no such file", false,
         [](R& r, const Args& a) {
             r.expect(!QFileInfo::exists(r.inProgramDir(a[1])), "expected no file " + a[1]);
         }},
        {"click-header", 2, "W.Grid N", "clicks column title N (from 0) of a table", false,
         [](R& r, const Args& a) {
             auto* view = qobject_cast<QTableView*>(r.widget(a[1]));
             if (!view) cannot(a[1] + " is not a table");
             emit view->horizontalHeader()->sectionClicked(a[2].toInt());
             r.settle();
         }},
        {"expect-cell", 4, "W.Grid ROW COL \"TEXT\"",
         "a table's cell, rows and columns from 0, the header not counted", false,
         [](R& r, const Args& a) {
             auto* view = qobject_cast<QTableView*>(r.widget(a[1]));
             if (!view) cannot(a[1] + " is not a table");
             const auto index = view->model()->index(a[2].toInt(), a[3].toInt());
             const QString got =
                 index.isValid() ? index.data().toString() : QStringLiteral("(none)");
             r.expect(got == a[4], a[1] + ": expected cell \"" + a[4] + "\", got \"" + got + "\"");
         }},
        {"expect-printed-text", 2, "PAGE \"TEXT\"",
         "page PAGE (from 1) of the last printed job holds TEXT (NFKC, blanks ignored)", false,
         [](R& r, const Args& a) { r.expectPrintedText(a[1], a[2]); }},
    };
    return all;
}

QString ScenarioRunner::help() {
    QString text = QStringLiteral(
        "usage: daike-scenario [--dir DIR] FILE.scn\n"
        "Runs a scenario against the real windows offscreen. One command a line; # starts a\n"
        "comment; double quotes group an argument (\\\", \\\\, \\n inside). Controls are named\n"
        "W.C or W.C[i] (element i of a control array).\n\nCommands:\n");
    for (const auto& c : commands()) {
        QString head = "  " + c.name + (c.usage.isEmpty() ? QString() : " " + c.usage);
        text += head.leftJustified(34) + " " + c.help + "\n";
    }
    return text;
}

std::vector<PdfPrinter::Job> ScenarioRunner::printedJobs() const {
    std::vector<PdfPrinter::Job> printed;
    for (const auto& j : desktop_.printer.jobs())
        if (!j.preview) printed.push_back(j);
    return printed;
}

void ScenarioRunner::expectPrintedText(const QString& pageArg, const QString& want) {
    bool ok = false;
    const int page = pageArg.toInt(&ok);
    if (!ok || page < 1) cannot("not a page number: " + pageArg);
    const auto jobs = printedJobs();
    if (jobs.empty()) {
        expect(false, "expected printed text \"" + want + "\", nothing printed");
        return;
    }
    const auto& job = jobs.back();
    if (page > job.pages) {
        expect(false, QStringLiteral("expected printed text on page %1, the job has %2 page(s)")
                          .arg(page)
                          .arg(job.pages));
        return;
    }
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", "-f", QString::number(page), "-l",
                                  QString::number(page), job.pdfPath, "-"});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        cannot("pdftotext could not read " + job.pdfPath);
    // Full-width and compatibility forms read as their plain letters; line breaks and blanks
    // the layout adds between characters do not count.
    auto plain = [](QString t) {
        t = t.normalized(QString::NormalizationForm_KC);
        t.remove(QRegularExpression("\\s"));
        return t;
    };
    const QString got = QString::fromUtf8(pdftotext.readAllStandardOutput());
    expect(plain(got).contains(plain(want)),
           QStringLiteral("page %1 of %2: \"%3\" not found in \"%4\"")
               .arg(page)
               .arg(job.name, want, got.simplified().left(300)));
}

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

void ScenarioRunner::step(const QStringList& a) {
    const auto& all = commands();
    auto c = std::find_if(all.begin(), all.end(), [&](const Command& k) { return k.name == a[0]; });
    if (c == all.end()) cannot("unknown command " + a[0]);
    if (a.size() != c->args + 1)
        cannot(QStringLiteral("%1 takes %2 argument(s): %1 %3")
                   .arg(c->name)
                   .arg(c->args)
                   .arg(c->usage));
    if (c->running && !program_) cannot(c->name + " needs a running program (start)");
    c->run(*this, a);
    checkAnswers();
}

void ScenarioRunner::setQuiet(bool quiet) {
    quietRun = quiet;
}

Store* ScenarioRunner::store() {
    return program_ ? &program_->store() : nullptr;
}

MainWindow* ScenarioRunner::mainWindow() {
    return program_ ? &program_->mainWindow() : nullptr;
}

std::optional<std::string> ScenarioRunner::runValue(const std::string& name) {
    if (!program_) return std::nullopt;
    return program_->context().values.byName(name);
}

bool ScenarioRunner::runLine(const QString& text) {
    ++line_;
    QString splitError;
    QStringList args = split(text, &splitError);
    for (auto& arg : args) arg.replace("$DIR", QString::fromStdString(dir_.string()));
    if (!splitError.isEmpty()) return false;
    if (args.isEmpty()) return true;
    try {
        step(args);
        return true;
    } catch (const CannotRun&) {
        return false;
    } catch (const std::exception&) {
        return false;
    }
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
            if (skipUnrunnable_) continue;
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
    if (!broken && desktop_.files.pendingAnswers() > 0) {
        ++line_;
        expect(false, QStringLiteral("%1 queued file answer(s) never used")
                          .arg(desktop_.files.pendingAnswers()));
    }
    out(QStringLiteral("%1 passed, %2 failed").arg(passed_).arg(failed_ + (broken ? 1 : 0)));
    return broken ? 2 : (failed_ > 0 ? 1 : 0);
}

}  // namespace daike
