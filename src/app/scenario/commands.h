// The scenario commands in their groups, one file each: set-up, acting, checking, files and
// printing. The one table of commands (ScenarioRunner::commands() in runner.cpp) points to them.
#pragma once

#include <QString>
#include <QStringList>

#include "runner.h"

namespace daike {

namespace scenario {

// A line that cannot run (a wrong argument, a missing window): the run stops there.
struct CannotRun {
    QString why;
};

[[noreturn]] inline void cannot(const QString& why) {
    throw CannotRun{why};
}

}  // namespace scenario

// Set-up (setup_commands.cpp).
struct ScenarioRunner::SetUp {
    static void today(ScenarioRunner& r, const QStringList& a);
    static void screen(ScenarioRunner& r, const QStringList& a);
    static void screenScaled(ScenarioRunner& r, const QStringList& a);
    static void screens(ScenarioRunner& r, const QStringList& a);
    static void sql(ScenarioRunner& r, const QStringList& a);
    static void demo(ScenarioRunner& r, const QStringList& a);
    static void demoSchool(ScenarioRunner& r, const QStringList& a);
    static void start(ScenarioRunner& r, const QStringList& a);
    static void restart(ScenarioRunner& r, const QStringList& a);
    static void answerAtRandom(ScenarioRunner& r, const QStringList& a);
    static void skipUnrunnable(ScenarioRunner& r, const QStringList& a);
    static void close(ScenarioRunner& r, const QStringList& a);
    static void openFor(ScenarioRunner& r, const QStringList& a);
    static void open(ScenarioRunner& r, const QStringList& a);
};

// Acting (acting_commands.cpp).
struct ScenarioRunner::Acting {
    static void answer(ScenarioRunner& r, const QStringList& a);
    static void menu(ScenarioRunner& r, const QStringList& a);
    static void click(ScenarioRunner& r, const QStringList& a);
    static void type(ScenarioRunner& r, const QStringList& a);
    static void key(ScenarioRunner& r, const QStringList& a);
    static void choose(ScenarioRunner& r, const QStringList& a);
    static void chooseCompletion(ScenarioRunner& r, const QStringList& a);
    static void screenshot(ScenarioRunner& r, const QStringList& a);
    static void clickHeader(ScenarioRunner& r, const QStringList& a);
};

// Checking (checking_commands.cpp).
struct ScenarioRunner::Checking {
    static void expectMessage(ScenarioRunner& r, const QStringList& a);
    static void expectMessageStarting(ScenarioRunner& r, const QStringList& a);
    static void expectNoMessage(ScenarioRunner& r, const QStringList& a);
    static void skipMessages(ScenarioRunner& r, const QStringList& a);
    static void expectText(ScenarioRunner& r, const QStringList& a);
    static void expectItems(ScenarioRunner& r, const QStringList& a);
    static void expectCompletions(ScenarioRunner& r, const QStringList& a);
    static void expectShortcut(ScenarioRunner& r, const QStringList& a);
    static void expectVisible(ScenarioRunner& r, const QStringList& a);
    static void expectHidden(ScenarioRunner& r, const QStringList& a);
    static void expectEnabled(ScenarioRunner& r, const QStringList& a);
    static void expectDisabled(ScenarioRunner& r, const QStringList& a);
    static void expectChecked(ScenarioRunner& r, const QStringList& a);
    static void expectColor(ScenarioRunner& r, const QStringList& a);
    static void expectOpen(ScenarioRunner& r, const QStringList& a);
    static void expectClosed(ScenarioRunner& r, const QStringList& a);
    static void expectPosition(ScenarioRunner& r, const QStringList& a);
    static void expectGeometry(ScenarioRunner& r, const QStringList& a);
    static void expectRowHeight(ScenarioRunner& r, const QStringList& a);
    static void expectFits(ScenarioRunner& r, const QStringList& a);
    static void expectValue(ScenarioRunner& r, const QStringList& a);
    static void expectPointer(ScenarioRunner& r, const QStringList& a);
    static void expectSql(ScenarioRunner& r, const QStringList& a);
    static void expectCell(ScenarioRunner& r, const QStringList& a);
    static void checkInvariants(ScenarioRunner& r, const QStringList& a);
    static void expectFault(ScenarioRunner& r, const QStringList& a);
    static void expectHelpPage(ScenarioRunner& r, const QStringList& a);
    static void expectKeyboard(ScenarioRunner& r, const QStringList& a);
};

// Files and printing (files_printing_commands.cpp).
struct ScenarioRunner::FilesAndPrinting {
    static void exportTimetables(ScenarioRunner& r, const QStringList& a);
    static void exportTimetableSheet(ScenarioRunner& r, const QStringList& a);
    static void writeFile(ScenarioRunner& r, const QStringList& a);
    static void answerFile(ScenarioRunner& r, const QStringList& a);
    static void answerFileCancel(ScenarioRunner& r, const QStringList& a);
    static void expectPrinted(ScenarioRunner& r, const QStringList& a);
    static void expectFile(ScenarioRunner& r, const QStringList& a);
    static void expectNoFile(ScenarioRunner& r, const QStringList& a);
    static void expectImage(ScenarioRunner& r, const QStringList& a);
    static void expectPrintedText(ScenarioRunner& r, const QStringList& a);
    static void expectClipboard(ScenarioRunner& r, const QStringList& a);
    static void expectClipboardHas(ScenarioRunner& r, const QStringList& a);
};

// Walking the windows (window_walk_commands.cpp).
struct ScenarioRunner::Walking {
    static void expectFitsScreen(ScenarioRunner& r, const QStringList& a);
    static void expectChinese(ScenarioRunner& r, const QStringList& a);
    static void everyWindowFits(ScenarioRunner& r, const QStringList& a);
    static void everyWindowChinese(ScenarioRunner& r, const QStringList& a);
    static void fitTable(ScenarioRunner& r, const QStringList& a);
    static void previewDialog(ScenarioRunner& r, const QStringList& a);
};

}  // namespace daike
