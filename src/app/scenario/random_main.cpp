// daike-random-operator [--seed N] [--seeds K] [--steps N] [--minutes M] [--out DIR]: the random
// operator (random_operator.h). Runs K seeds from N (or new seeds until M minutes have passed),
// prints one line per seed and, for a seed whose data went wrong, the fault and the path of the
// shortest failing scenario written to DIR. Exits 1 when any seed failed.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <iostream>
#include <random>

#include "random_operator.h"
#include "shell/program.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform says it cannot raise or resize windows, once per window.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        if (!m.startsWith("This plugin does not support")) std::cerr << m.toStdString() << "\n";
    });
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    daike::useChineseFonts();
    daike::useChineseTranslations();
    std::uint32_t seed = 1;
    int seeds = 1, steps = 60, minutes = 0, shrinkSeconds = 60;
    bool verbose = false;
    QString out = QDir::currentPath();
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString& a = args[i];
        const QString& v = args[i + 1];
        if (a == "--seed")
            seed = v.toUInt();
        else if (a == "--seeds")
            seeds = v.toInt();
        else if (a == "--steps")
            steps = v.toInt();
        else if (a == "--minutes")
            minutes = v.toInt();
        else if (a == "--shrink-seconds")
            shrinkSeconds = v.toInt();
        else if (a == "--out")
            out = v;
        else if (a == "--verbose")
            verbose = v == "1";
        else {
            std::cerr << "usage: daike-random-operator [--seed N] [--seeds K] [--steps N] "
                         "[--minutes M] [--shrink-seconds S] [--out DIR] [--verbose 1]\n";
            return 2;
        }
    }
    if (minutes > 0) seed = std::random_device{}();
    QElapsedTimer clock;
    clock.start();
    int failed = 0, run = 0;
    long totalSteps = 0;
    for (;; ++seed) {
        if (minutes > 0 ? clock.elapsed() > minutes * 60000LL : run >= seeds) break;
        daike::RandomOperator op(seed, steps);
        op.setShrinkSeconds(shrinkSeconds);
        op.setVerbose(verbose);
        const auto r = op.run();
        ++run;
        totalSteps += r.steps;
        if (r.fault.isEmpty()) {
            std::cout << "seed " << seed << ": " << r.steps << " steps, " << r.covers << " covers, "
                      << r.swaps << " swaps, sound";
            if (!r.unconfirmed.isEmpty())
                std::cout << " (a fault seen in this process, not in a program of its own: "
                          << r.unconfirmed.toStdString() << ")";
            std::cout << std::endl;
            continue;
        }
        ++failed;
        QDir().mkpath(out);
        const QString file = QDir(out).filePath(QStringLiteral("random-operator-%1.scn").arg(seed));
        QFile f(file);
        if (f.open(QIODevice::WriteOnly | QIODevice::Text)) {
            QTextStream s(&f);
            s.setEncoding(QStringConverter::Utf8);
            for (const auto& line : r.scenario) s << line << "\n";
        }
        std::cout << "seed " << seed << ": fault after step " << r.faultStep + 1 << "\n"
                  << r.fault.toStdString() << "\nshortest scenario (" << r.scenario.size()
                  << " lines): " << file.toStdString() << std::endl;
    }
    std::cout << totalSteps << " steps in " << run << " runs" << std::endl;
    std::cout << (run - failed) << " passed, " << failed << " failed" << std::endl;
    return failed ? 1 : 0;
}
