// 代课: the program the academic office runs.
//   daike              the data lives in the program directory, beside the executable; when
//                      that directory cannot be written and holds no database (a copy
//                      installed for all users), in the user's own data directory
//   daike --data DIR   the data lives in DIR (made when missing)
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <iostream>

#include "platform/qt_platform.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "store/store.h"

namespace {

std::filesystem::path dataDirectory(const QStringList& args) {
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--data" && i + 1 < args.size()) {
            QDir().mkpath(args[i + 1]);
            return QDir(args[i + 1]).absolutePath().toStdString();
        }
    }
    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
    std::error_code ec;
    // A database already in the program directory is the school's, writable or not: the store
    // says so when it cannot be written, rather than a new empty school appearing elsewhere.
    if (std::filesystem::exists(programDir / daike::Store::kFileName, ec) ||
        ::access(programDir.c_str(), W_OK | X_OK) == 0)
        return programDir;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(user);
    return user.toStdString();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("代课"));
    const QStringList args = app.arguments();
    if (args.contains("--help") ||
        (args.contains("--data") && args.indexOf("--data") + 1 >= args.size())) {
        std::cerr << "用法：daike [--data 目录]\n  --data 目录  数据库“代课.db”和备份放在这个目录中"
                     "（不写时放在程序目录中）。\n";
        return 2;
    }
    daike::useChineseFonts();
    daike::useChineseTranslations();
    daike::QtPlatform desktop;
    auto program = daike::Program::start(desktop.platform(), dataDirectory(args));
    if (!program) return 1;
    QObject::connect(&program->mainWindow(), &daike::MainWindow::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
