// 代课: the program the academic office runs.
#include <QApplication>

#include "platform/qt_platform.h"
#include "shell/main_window.h"
#include "shell/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("代课"));
    daike::useChineseFonts();
    daike::QtPlatform desktop;
    // The database lives in the program directory, beside the executable.
    const std::filesystem::path dir = QCoreApplication::applicationDirPath().toStdString();
    auto program = daike::Program::start(desktop.platform(), dir);
    if (!program) return 1;
    QObject::connect(&program->mainWindow(), &daike::MainWindow::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
