// daike-scenario [--dir DIR] FILE: drives the program as a user would, offscreen.
#include <QApplication>
#include <QTemporaryDir>
#include <iostream>

#include "runner.h"
#include "shell/program.h"
#include "ui/path_text.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    daike::useChineseFonts();
    daike::useChineseTranslations();
    QString file, dir;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::cout << daike::ScenarioRunner::help().toStdString();
            return 0;
        }
        if (args[i] == "--dir" && i + 1 < args.size())
            dir = args[++i];
        else
            file = args[i];
    }
    if (file.isEmpty()) {
        std::cerr << "usage: daike-scenario [--dir DIR] FILE.scn" << std::endl;
        return 2;
    }
    QTemporaryDir temp;
    if (dir.isEmpty()) {
        if (!temp.isValid()) return 2;
        dir = temp.path();
    }
    daike::ScenarioRunner runner(daike::fspath(dir));
    return runner.run(file);
}
