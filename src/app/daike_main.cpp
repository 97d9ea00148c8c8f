// 代课: the program the academic office runs.
//   daike              the data lives in the program directory, beside the executable; for a
//                      copy installed for all users (/usr/bin, or a directory that cannot be
//                      written and holds no database), in the user's own data directory,
//                      ~/.local/share/代课/
//   daike --data DIR   the data lives in DIR (made when missing)
//   daike --version    prints the version
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <iostream>
#include <string_view>

#include "platform/qt_platform.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "store/data_directory.h"
#include "store/os_files.h"
#include "store/paths.h"
#include "store/program_version.h"
#include "store/store.h"
#include "ui/path_text.h"

namespace {

std::filesystem::path dataDirectory(const QStringList& args) {
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--data" && i + 1 < args.size()) {
            QDir().mkpath(args[i + 1]);
            return daike::fspath(QDir(args[i + 1]).absolutePath());
        }
    }
    const std::filesystem::path programDir = daike::fspath(QCoreApplication::applicationDirPath());
    // The local, not the roaming, data directory: a database synced with a roaming profile at
    // every logon could come back older. ~/.local/share/代课 on Linux (the same as
    // AppDataLocation there), %LOCALAPPDATA%\代课 on Windows.
    const std::filesystem::path user =
        daike::fspath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    const auto chosen =
        daike::chooseDataDirectory(programDir, daike::os_files::canWriteIn(programDir), user);
    if (chosen == user) QDir().mkpath(daike::qpath(user));
    return chosen;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before any window system is asked for: a terminal without a desktop can ask.
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--version") {
            std::cout << "代课 " << daike::programVersion() << "（数据格式第 "
                      << daike::schema::kVersion << " 版）\n";
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("代课"));
    QApplication::setApplicationVersion(QString::fromStdString(daike::programVersion()));
    // The desktop matches the windows to the menu entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("cn.daike.Daike"));
    const QStringList args = app.arguments();
    if (args.contains("--help") ||
        (args.contains("--data") && args.indexOf("--data") + 1 >= args.size())) {
        std::cerr << "用法：daike [--data 目录] [--version]\n"
                     "  --data 目录  数据库“代课.db”和备份放在这个目录中"
                     "（不写时放在程序目录中；程序装在系统目录中时放在 ~/.local/share/代课/）。\n"
                     "  --version    显示版本。\n";
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
