// Runs a scenario file against the program's real windows, offscreen, with a scripted desktop:
// message boxes answered from a queue, a fixed date, a chosen screen width.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/scripted_platform.h"

class QWidget;
class QAction;
class QObject;

namespace daike {

class Program;
class Store;
class MainWindow;

class ScenarioRunner {
  public:
    explicit ScenarioRunner(std::filesystem::path programDir);
    ~ScenarioRunner();
    // Runs every line; prints each failed expectation and the closing count. Returns the exit
    // status: 0 when every expectation passed and every line could run.
    int run(const QString& scenarioFile);

    // One line at a time, for a driver that decides each step from what the windows show (the
    // random operator). False when the line could not run (a control gone, a window closed);
    // failed expectations count in failures().
    bool runLine(const QString& line);
    void substitute(QString& arg) const;
    int failures() const { return failed_; }
    // Ends the run: the program closes as its main window would.
    void finish() { closeProgram(); }
    // Nothing printed: failures are only counted.
    void setQuiet(bool quiet);
    // The running program's database and main window; none before start.
    Store* store();
    MainWindow* mainWindow();
    // A run-wide value by name, while the program runs.
    std::optional<std::string> runValue(const std::string& name);

    // Splits a line into arguments: blanks separate, double quotes group (\", \\ and \n inside).
    static QStringList split(const QString& line, QString* error);

    // One command of the scenario language.
    struct Command {
        QString name;
        int args;       // how many arguments it takes
        QString usage;  // its arguments, for the help
        QString help;   // what it does or checks
        bool running;   // needs the program started
        std::function<void(ScenarioRunner&, const QStringList&)> run;
    };
    static const std::vector<Command>& commands();
    // `daike-scenario --help`: the usage and every command.
    static QString help();

    // The operator reset the cover counts by hand (代课节数初始化) in this run.
    bool countsResetByHand() const {
        for (const auto& b : desktop_.boxes.shown())
            if (b.text.startsWith(QStringLiteral("代课节数初始化完成！"))) return true;
        return false;
    }

  private:
    // The command groups, one file each (commands.h): the rows of commands() point to their
    // functions.
    struct SetUp;
    struct Acting;
    struct Checking;
    struct FilesAndPrinting;
    struct Walking;

    struct Target {
        QWidget* window = nullptr;
        QObject* object = nullptr;  // a control, a menu item, or the window itself
    };
    void step(const QStringList& args);
    void click(QWidget* w);
    void key(QWidget* w, const QString& name);
    void expectState(const QString& path, bool (QWidget::*state)() const, bool want,
                     const char* otherwise);
    std::vector<PdfPrinter::Job> printedJobs() const;
    // The texts put on the scripted clipboard in this run, the last one last.
    const std::vector<QString>& copiedTexts() const { return desktop_.clipboard.texts(); }
    void expectPrintedText(const QString& page, const QString& text);
    void settle();
    void expect(bool ok, const QString& failure);
    void checkAnswers();
    Target find(const QString& path);
    QWidget* widget(const QString& path);
    QString textOf(QObject* o);
    void sql(const QString& text);
    QString sqlRows(const QString& query);
    QString inProgramDir(const QString& path) const;
    void closeProgram();
    // What keeps a window from fitting the scripted screen: its frame outside the available
    // area, a control cut off that no scroll area reaches.
    QStringList fitFaults(QWidget* window);
    // The scripted screen as the walks name it: "1920x1080 150%".
    QString screenLabel() const;
    // Opens every window of the program in turn, checks each and closes it again.
    void walk(const QString& teacher, const std::function<void(QWidget*)>& check);

    std::filesystem::path dir_;
    ScriptedPlatform desktop_;
    std::unique_ptr<Program> program_;
    std::size_t checkedMessages_ = 0;
    std::size_t seenMismatches_ = 0;
    int line_ = 0;
    int passed_ = 0;
    int failed_ = 0;
    QString error_;
    bool skipUnrunnable_ = false;
    // The fit walks' findings: window, then screen, then how the window was fitted.
    QMap<QString, QMap<QString, QString>> walked_;
    std::vector<QString> walkedScreens_;  // a line that cannot run is passed over (random operator)
};

}  // namespace daike
