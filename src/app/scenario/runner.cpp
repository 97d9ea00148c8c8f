#include "runner.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <iostream>

#include "commands.h"
#include "invariants.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "store/program_version.h"
#include "store/schema.h"
#include "ui/path_text.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/engine/assignment_window.h"
#include "windows/main/login_window.h"

namespace daike {

using scenario::cannot;
using scenario::CannotRun;

namespace {

bool quietRun = false;

void out(const QString& s) {
    if (!quietRun) std::cout << s.toStdString() << std::endl;
}

}  // namespace

ScenarioRunner::ScenarioRunner(std::filesystem::path programDir) : dir_(std::move(programDir)) {
    // What the scripted printer prints lands beside the database, one PDF a job.
    desktop_.printer.setDirectory(qpath(dir_ / "printed"));
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
    // A window owned by this one (every tool window belongs to the main window) keeps its
    // controls to itself.
    auto named = t.window->findChildren<QWidget*>(name);
    named.removeIf([&t](QWidget* w) { return w->window() != t.window; });
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

void ScenarioRunner::closeProgram() {
    if (!program_) return;
    program_->mainWindow().close();
    settle();
    program_.reset();
    settle();
}

// ---- The commands ------------------------------------------------------------------------

// The one table of commands. Each row points to its function in its group's file (commands.h:
// set-up, acting, checking, files and printing).
const std::vector<ScenarioRunner::Command>& ScenarioRunner::commands() {
    // A command that acts on the program needs it started; the help lists them in this order.
    static const std::vector<Command> all = {
        // Set-up
        {"today", 1, "YYYY-MM-DD", "the scripted clock's date", false, SetUp::today},
        {"screen", 1, "WIDTH",
         "the screen's width in pixels (placement), three quarters as high, at 100 %", false,
         SetUp::screen},
        {"screen", 3, "WIDTH HEIGHT SCALE",
         "a screen of that many pixels scaled by SCALE percent (100, 125, 150): windows see "
         "(WIDTH/scale) x (HEIGHT/scale), less a 40-pixel taskbar",
         false, SetUp::screenScaled},
        {"screens", 1, "\"WxH WxH …\"",
         "the desktop's screens side by side, the primary first (its width is the screen's)", false,
         SetUp::screens},
        {"sql", 1, "\"SQL\"",
         "runs SQL on the database (before start: creates it as a first start would)", false,
         SetUp::sql},
        {"export-timetables", 0, "",
         "writes every teacher's timetable as 任课表/NAME.docx in the program directory (as "
         "daike-demo --timetables): documents for the import to read",
         false, FilesAndPrinting::exportTimetables},
        {"export-timetable-sheet", 1, "FILE",
         "writes the whole timetable as one .xlsx (as 导出课表…) in the program directory: a "
         "spreadsheet for 导入总课表 to read",
         false, FilesAndPrinting::exportTimetableSheet},
        {"demo-school", 1, "TEACHERS",
         "(before start) writes a school of that many teachers made as the demo school is", false,
         SetUp::demoSchool},
        {"demo", 0, "",
         "(before start) writes the demo school, its term begun four weeks before today", false,
         SetUp::demo},
        {"write-file", 2, "NAME \"TEXT\"", "puts a file with that text in the program directory",
         false, FilesAndPrinting::writeFile},
        {"answer-at-random", 1, "SEED",
         "from now on a message box with no queued answer takes a button at random (seeded)", false,
         SetUp::answerAtRandom},
        {"skip-unrunnable", 0, "",
         "from now on a line that cannot run (a window not open, a control gone) is passed over "
         "instead of ending the scenario: the random operator's scenarios replay as they ran",
         false, SetUp::skipUnrunnable},
        {"restart", 0, "", "closes the program as its main window would and starts it again", true,
         SetUp::restart},
        {"start", 0, "", "starts the program on the run's directory", false, SetUp::start},
        {"close", 1, "W", "closes window W; close Form2 ends the run", true, SetUp::close},
        {"open", 1, "W",
         "runs the registry's row named W (a window or an action) without the login", true,
         SetUp::open},
        {"open-for", 2, "W TEACHER",
         "opens the registry's window W that another window opens for a teacher (Form14)", true,
         SetUp::openFor},
        // Acting
        {"answer", 1, "BUTTON", "queues the button for the next message box (else its first)",
         false, Acting::answer},
        {"answer-file", 1, "PATH",
         "queues a path for the next file dialog, a relative one in the program directory "
         "(unqueued: saving takes the suggested path, opening is cancelled)",
         false, FilesAndPrinting::answerFile},
        {"answer-file-cancel", 0, "", "queues 取消 for the next file dialog", false,
         FilesAndPrinting::answerFileCancel},
        {"menu", 1, "ITEM", "triggers a menu item of Form2 by its menu name (when enabled)", true,
         Acting::menu},
        {"click", 1, "W.C[i]", "clicks a control (disabled or hidden ones ignore it)", false,
         Acting::click},
        {"type", 2, "W.C[i] TEXT", "selects all in the box, then types the text key by key", false,
         Acting::type},
        {"key", 2, "W.C[i] KEY", "one key: Left, Right, Home, End, Backspace, Return, Ctrl+A, x",
         false, Acting::key},
        {"choose", 2, "W.C[i] ITEM",
         "chooses an item of a drop-down list (or types it); in a list, the first item starting "
         "with ITEM",
         false, Acting::choose},
        {"choose-completion", 2, "W.C NAME",
         "chooses an entry of the list a name box's completer offers, as a click on it does", false,
         Acting::chooseCompletion},
        {"screenshot", 2, "W[.C] FILE.png", "saves a picture of a window or control", false,
         Acting::screenshot},
        // Checking
        {"expect-message", 1, "\"TEXT\"", "the next message box not yet checked said TEXT", false,
         Checking::expectMessage},
        {"expect-message-starting", 1, "\"TEXT\"",
         "the next message box not yet checked began with TEXT (for texts ending in a file's size)",
         false, Checking::expectMessageStarting},
        {"expect-no-message", 0, "", "no message box since the last one checked", false,
         Checking::expectNoMessage},
        {"skip-messages", 0, "", "passes over the message boxes shown so far", false,
         Checking::skipMessages},
        {"expect-text", 2, "W[.C[i]] \"TEXT\"",
         "a control's text (a window: its caption; a text box: what it shows)", false,
         Checking::expectText},
        {"expect-items", 2, "W.C \"a|b|c\"", "the items of a drop-down list or a list in order",
         false, Checking::expectItems},
        {"expect-completions", 2, "W.C \"a,b,c\"",
         "the names a name box's completer offers now, in order (\"\" for none)", false,
         Checking::expectCompletions},
        {"expect-shortcut", 2, "Form2.ITEM KEYS", "a menu item's shortcut", false,
         Checking::expectShortcut},
        {"expect-visible", 1, "W.C[i]", "the control is shown", false, Checking::expectVisible},
        {"expect-hidden", 1, "W.C[i]", "the control is hidden", false, Checking::expectHidden},
        {"expect-enabled", 1, "W.C[i]", "the control is enabled", false, Checking::expectEnabled},
        {"expect-disabled", 1, "W.C[i]", "the control is disabled", false,
         Checking::expectDisabled},
        {"expect-checked", 2, "W.C[i] 0|1|2", "a check box, option or menu item's tick", false,
         Checking::expectChecked},
        {"expect-color", 2, "W.C[i] R,G,B", "a control's background colour", false,
         Checking::expectColor},
        {"expect-open", 1, "W", "window W is open and shown", false, Checking::expectOpen},
        {"expect-closed", 1, "W", "window W is not shown", false, Checking::expectClosed},
        {"expect-position", 3, "W[.C] X Y",
         "a control's position in its parent, a window's on the screen", false,
         Checking::expectPosition},
        {"expect-fits", 3, "W WIDTH HEIGHT",
         "window W, title bar of 30 px included, lies at its placed position inside a work area "
         "of that size; its inside is at most WIDTH x (HEIGHT-30); no named control of it reaches "
         "past its edge",
         false, Checking::expectFits},
        {"expect-fits", 1, "W",
         "window W, title bar and frame included, lies inside the scripted screen's available "
         "area (maximised: without the frame); every named control shows or can be scrolled to",
         false, Walking::expectFitsScreen},
        {"expect-every-window-fits", 1, "TEACHER",
         "opens every window of the program in turn (Form14 for TEACHER), checks each as "
         "expect-fits W and closes it; the findings go into fit-table",
         true, Walking::everyWindowFits},
        {"fit-table", 0, "",
         "prints every window against every screen walked: fits, maximised, "
         "scrolled",
         false, Walking::fitTable},
        {"expect-chinese", 1, "W",
         "no visible text of window W (title, labels, buttons, tooltips, menus, headers, items) "
         "has Latin letters without a Chinese character, PDF, Excel, Word, CSV, xlsx, docx, A4 "
         "and file names apart",
         false, Walking::expectChinese},
        {"expect-every-window-chinese", 1, "TEACHER",
         "opens every window of the program in turn (Form14 for TEACHER) and checks each as "
         "expect-chinese W",
         true, Walking::everyWindowChinese},
        {"preview-dialog", 1, "FILE.png",
         "the next print preview opens the toolkit's preview dialog as the real printer does: "
         "its picture is saved to FILE.png, its texts and tooltips are checked as "
         "expect-chinese, and it closes",
         false, Walking::previewDialog},
        {"check-invariants", 0, "",
         "the stored day is sound: every cover stands for a lesson of its absent teacher, no "
         "substitute twice in a period, tallies equal the records, marks match the records",
         true, Checking::checkInvariants},
        {"expect-fault", 1, "\"RULE\"",
         "check-invariants would name a broken rule starting with RULE (the oracle's own test)",
         true, Checking::expectFault},
        {"expect-help-page", 1, "W",
         "the help window FormHelp is open on the page of window W (index: the list of windows)",
         false, Checking::expectHelpPage},
        {"expect-keyboard", 1, "W",
         "window W can be used without the mouse: every shown, enabled control Tab reaches has an "
         "accessible name, the window names its main button (or says it has none), and Esc "
         "closes it (not the main window), which this checks last",
         false, Checking::expectKeyboard},
        {"expect-value", 2, "NAME VALUE", "a run-wide value (当前星期, 代课方式, …) as text", true,
         Checking::expectValue},
        {"expect-pointer", 2, "X Y", "where the pointer was last put", false,
         Checking::expectPointer},
        {"expect-sql", 2, "\"SELECT …\" \"a|b;c|d\"",
         "the rows of a query in SQLite's text form, Null as NULL", false, Checking::expectSql},
        {"expect-printed", 1, "N",
         "the scripted printer has printed N pages in this run, all jobs (previews apart)", false,
         FilesAndPrinting::expectPrinted},
        {"expect-file", 1, "PATH", "a file (relative: in the program directory) exists, not empty",
         false, FilesAndPrinting::expectFile},
        {"expect-no-file", 1, "PATH", "no such file", false, FilesAndPrinting::expectNoFile},
        {"expect-image", 2, "PATH WIDTH",
         "a picture (relative: in the program directory) opens, WIDTH pixels wide, not empty",
         false, FilesAndPrinting::expectImage},
        {"expect-geometry", 5, "W X Y WIDTH HEIGHT", "a window's place on the desktop and its size",
         false, Checking::expectGeometry},
        {"expect-row-height", 2, "W.Grid MIN",
         "every row of a table, its header included, is at least MIN pixels high", false,
         Checking::expectRowHeight},
        {"click-header", 2, "W.Grid N", "clicks column title N (from 0) of a table", false,
         Acting::clickHeader},
        {"expect-cell", 4, "W.Grid ROW COL \"TEXT\"",
         "a table's cell, rows and columns from 0, the header not counted", false,
         Checking::expectCell},
        {"expect-printed-text", 2, "PAGE \"TEXT\"",
         "page PAGE (from 1) of the last printed job holds TEXT (NFKC, blanks ignored)", false,
         FilesAndPrinting::expectPrintedText},
        {"expect-clipboard", 1, "\"TEXT\"", "the last text put on the clipboard is TEXT exactly",
         false, FilesAndPrinting::expectClipboard},
        {"expect-clipboard-has", 1, "\"TEXT\"", "the last text put on the clipboard holds TEXT",
         false, FilesAndPrinting::expectClipboardHas},
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

void ScenarioRunner::step(const QStringList& a) {
    const auto& all = commands();
    auto c = std::find_if(all.begin(), all.end(), [&](const Command& k) { return k.name == a[0]; });
    if (c == all.end()) cannot("unknown command " + a[0]);
    // A command may come in forms of different lengths (screen WIDTH, screen WIDTH HEIGHT SCALE).
    auto form = std::find_if(all.begin(), all.end(), [&](const Command& k) {
        return k.name == a[0] && k.args + 1 == a.size();
    });
    if (form != all.end()) c = form;
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
    // The working day's own names read it, as the windows that show them do.
    const auto& day = program_->context().day;
    if (name == "当前周次") return std::to_string(day.week());
    if (name == "当前星期") return std::to_string(day.weekday());
    if (name == "手选星期标志") return day.handChosen() ? "1" : "0";
    // The way of covering is the assignment screen's own.
    if (name == "代课方式") {
        const auto* form1 = qobject_cast<AssignmentWindow*>(findWindow("Form1"));
        return form1 && form1->mode() == AssignmentWindow::Mode::OneTeacher ? "1" : "0";
    }
    // The operation the open login is for.
    if (name == "管理操作码") {
        const auto* login = qobject_cast<LoginWindow*>(findWindow("Form15"));
        return std::to_string(login ? login->code() : 0);
    }
    return program_->context().values.byName(name);
}

// "$DIR" stands for the run's data directory, which is made afresh for every run; "$VERSION" for
// the program's version and "$LAYOUT" for the database layout's.
void ScenarioRunner::substitute(QString& arg) const {
    arg.replace("$DIR", qpath(dir_));
    arg.replace("$VERSION", QString::fromStdString(programVersion()));
    arg.replace("$LAYOUT", QString::number(schema::kVersion));
}

bool ScenarioRunner::runLine(const QString& text) {
    ++line_;
    QString splitError;
    QStringList args = split(text, &splitError);
    for (auto& arg : args) substitute(arg);
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
        for (auto& arg : args) substitute(arg);
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
