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
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTextEdit>
#include <QTextStream>
#include <iostream>

#include "basedata/timetable_documents.h"
#include "basedata/demo_school.h"
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
            if (auto* sb = qobject_cast<QAbstractSpinBox*>(w)) sb->selectAll();
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
    } else if (cmd == "expect-fits") {
        // expect-fits W 800 560: the window at its placed position, title bar included, lies
        // inside a work area of that size; no control of it is cut off by the window's edge.
        need(3);
        QWidget* w = widget(a[1]);
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
            if (c->isWindow() || c->objectName().isEmpty() || c->objectName().startsWith("qt_"))
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
        expect(faults.isEmpty(), a[1] + " does not fit " + a[2] + "x" + a[3] + ": " +
                                     faults.mid(0, 6).join("; ") +
                                     (faults.size() > 6 ? QStringLiteral("; …") : QString()));
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
    } else if (cmd == "answer-file" || cmd == "answer-file-cancel") {
        // File dialogs: the next one is answered with this path (relative to the program
        // directory), or cancelled.
        if (cmd == "answer-file") {
            need(1);
            const QString path = QFileInfo(a[1]).isAbsolute()
                                     ? a[1]
                                     : QString::fromStdString((dir_ / a[1].toStdString()).string());
            desktop_.files.queue(path);
        } else {
            need(0);
            desktop_.files.queue(std::nullopt);
        }
    } else if (cmd == "write-file") {
        // Puts a file with that text in the program directory (a damaged template, say).
        need(2);
        QFile f(QString::fromStdString((dir_ / a[1].toStdString()).string()));
        if (!f.open(QIODevice::WriteOnly) || f.write(a[2].toUtf8()) < 0)
            cannot("could not write " + a[1]);
    } else if (cmd == "expect-file" || cmd == "expect-no-file") {
        // A file in the program directory (or at an absolute path) exists / does not.
        need(1);
        const QString path = QFileInfo(a[1]).isAbsolute()
                                 ? a[1]
                                 : QString::fromStdString((dir_ / a[1].toStdString()).string());
        const bool there = QFileInfo::exists(path);
        expect(there == (cmd == "expect-file"),
               (there ? "unexpected file " : "missing file ") + a[1]);
    } else if (cmd == "expect-printed") {
        // Pages sent to the printer in this run, all jobs together (previews not counted).
        need(1);
        int pages = 0;
        for (const auto& job : desktop_.printer.jobs())
            if (!job.preview) pages += job.pages;
        expect(pages == a[1].toInt(),
               "expected " + a[1] + " printed pages, got " + QString::number(pages));
    } else if (cmd == "expect-printed-text") {
        // Page N of the last print job holds the text; blanks are ignored on both sides and the
        // page's text is read in NFKC (CJK faces map some characters to radicals).
        need(2);
        const PdfPrinter::Job* last = nullptr;
        for (const auto& job : desktop_.printer.jobs())
            if (!job.preview) last = &job;
        if (!last) {
            expect(false, "nothing was printed");
        } else {
            QProcess p;
            p.start("pdftotext", {"-layout", "-f", a[1], "-l", a[1], last->pdfPath, "-"});
            if (!p.waitForFinished(30000) || p.exitCode() != 0)
                cannot("pdftotext could not read " + last->pdfPath);
            static const QRegularExpression blanks("\\s+");
            QString text = QString::fromUtf8(p.readAllStandardOutput())
                               .normalized(QString::NormalizationForm_KC)
                               .remove(blanks);
            QString want = QString(a[2]).normalized(QString::NormalizationForm_KC).remove(blanks);
            expect(text.contains(want), "page " + a[1] + " of the printed notices lacks \"" + a[2] +
                                            "\": " + text.left(300));
        }
    } else if (cmd == "demo") {
        // The demo school, its term begun four weeks before the scenario's day.
        need(0);
        if (program_) cannot("demo comes before start");
        auto store = Store::open(dir_);
        auto plan = demo::demoPlan();
        plan.termStart = demo::termStartBefore(desktop_.clock.today());
        demo::fillSchool(*store, plan);
    } else if (cmd == "click-header") {
        need(2);
        auto* view = qobject_cast<QTableView*>(widget(a[1]));
        if (!view) cannot(a[1] + " is not a table");
        emit view->horizontalHeader()->sectionClicked(a[2].toInt());
        settle();
    } else if (cmd == "expect-cell") {
        // expect-cell W.Grid ROW COLUMN "text": rows and columns from 0, the header not counted.
        if (a.size() != 5) cannot("expect-cell takes 4 arguments");
        auto* view = qobject_cast<QTableView*>(widget(a[1]));
        if (!view) cannot(a[1] + " is not a table");
        const auto index = view->model()->index(a[2].toInt(), a[3].toInt());
        const QString got = index.isValid() ? index.data().toString() : QStringLiteral("(none)");
        expect(got == a[4], a[1] + ": expected cell \"" + a[4] + "\", got \"" + got + "\"");
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
        const QStringList args = split(text, &splitError);
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
