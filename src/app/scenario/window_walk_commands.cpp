// The scenario commands of one group. Walking the windows: whether a window fits the scripted
// screen, whether it speaks Chinese, and the walks that open every window of the program in turn
// and check each.
#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <iostream>

#include "commands.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "shell/window_registry.h"
#include "ui/screen_fit.h"
#include "ui/widgets.h"
#include "ui/window_texts.h"

namespace daike {

using scenario::cannot;
using scenario::CannotRun;

QStringList ScenarioRunner::fitFaults(QWidget* w) {
    const Screen& screen = desktop_.screen;
    const QRect area = screen.availableArea();
    const QMargins frame = screen.windowFrame(*w);
    const bool maximised = w->isMaximized() || fitMaximised(*w);
    // A maximised window has no frame at the sides and below.
    const QRect outer = maximised ? QRect(w->pos(), QSize(w->width(), w->height() + frame.top()))
                                  : QRect(w->pos(), w->size().grownBy(frame));
    QStringList faults;
    if (!area.contains(outer))
        faults << QStringLiteral("frame %1,%2 %3x%4 leaves the area %5x%6")
                      .arg(outer.x())
                      .arg(outer.y())
                      .arg(outer.width())
                      .arg(outer.height())
                      .arg(area.width())
                      .arg(area.height());
    for (const auto& cut : cutOffControls(*w)) faults << cut + " is cut off";
    return faults;
}

// expect-fits W
void ScenarioRunner::Walking::expectFitsScreen(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    if (!w->isWindow()) cannot(a[1] + " is not a window");
    const QStringList faults = r.fitFaults(w);
    r.expect(faults.isEmpty(), a[1] + " does not fit " + r.screenLabel() + ": " +
                                   faults.mid(0, 6).join("; ") +
                                   (faults.size() > 6 ? QStringLiteral("; …") : QString()));
}

// expect-chinese W
void ScenarioRunner::Walking::expectChinese(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    const QStringList found = textsWithoutChinese(*w);
    r.expect(found.isEmpty(), a[1] + " shows texts without Chinese: " + found.join("; "));
}

QString ScenarioRunner::screenLabel() const {
    const auto& s = desktop_.screen;
    return QStringLiteral("%1x%2 %3%")
        .arg(s.deviceSize().width())
        .arg(s.deviceSize().height())
        .arg(qRound(s.scale() * 100));
}

namespace {

// How each window of the program is reached from the main window and put away again. The
// registry's windows open by their rows; these are the others.
struct Route {
    const char* window;
    QStringList open;
    QStringList close;
};

std::vector<Route> routes(const QString& teacher) {
    std::vector<Route> all = {{"Form2", {}, {}}};
    for (const auto& row : windowRegistry()) {
        const QString name = QString::fromUtf8(row.name);
        if (!name.startsWith("Form") && name != "RestoreWindow") continue;
        if (row.openFor) {
            all.push_back(
                {row.name, {"open-for " + name + " \"" + teacher + "\""}, {"close " + name}});
            continue;
        }
        all.push_back({row.name, {"open " + name}, {"close " + name}});
    }
    all.push_back({"Form15", {"menu bjsr"}, {"close Form15"}});
    all.push_back({"Form11", {"menu abcz"}, {"close Form11"}});
    all.push_back({"Form12", {"menu jscz"}, {"close Form12"}});
    all.push_back(
        {"Form8", {"open Form1", "click Form1.Command7"}, {"close Form8", "close Form1"}});
    // 无课公出情况 comes up as 当日代课 is left.
    all.push_back(
        {"Form10", {"open Form1", "click Form1.Command8"}, {"close Form10", "close Form1"}});
    return all;
}

}  // namespace

void ScenarioRunner::walk(const QString& teacher, const std::function<void(QWidget*)>& check) {
    // A window the program opened at its start (the weekday chooser) is checked first.
    if (QWidget* open = findWindow("Form9"); open && open->isVisible()) {
        check(open);
        open->close();
        settle();
    }
    for (const auto& route : routes(teacher)) {
        const QString name = QString::fromUtf8(route.window);
        try {
            for (const auto& line : route.open) step(split(line, nullptr));
            QWidget* w = findWindow(name);
            if (!w || !w->isVisible()) {
                // A window that opens only when there is something to show (修改 with no cover
                // today, 无课公出 for a teacher without any): the day has nothing for it.
                walked_[name][screenLabel()] = QStringLiteral("nothing to show");
                for (const auto& line : route.close)
                    if (findWindow(line.section(' ', 1))) step(split(line, nullptr));
                checkedMessages_ = desktop_.boxes.shown().size();
                continue;
            }
            check(w);
            // A window may have gone with the one that opened it (退出 of 当日代课).
            for (const auto& line : route.close)
                if (findWindow(line.section(' ', 1))) step(split(line, nullptr));
        } catch (const CannotRun& e) {
            expect(false, name + " could not be reached: " + e.why);
            walked_[name][screenLabel()] = QStringLiteral("not reached");
        }
        // Whatever a window asked on the way is not this walk's business.
        checkedMessages_ = desktop_.boxes.shown().size();
    }
}

// expect-every-window-fits TEACHER
void ScenarioRunner::Walking::everyWindowFits(ScenarioRunner& r, const QStringList& a) {
    const QString screen = r.screenLabel();
    r.walk(a[1], [&](QWidget* w) {
        const QStringList faults = r.fitFaults(w);
        r.walked_[w->objectName()][screen] =
            faults.isEmpty() ? fitName(fitOf(*w)) : QStringLiteral("cut off");
        r.expect(faults.isEmpty(),
                 w->objectName() + " does not fit " + screen + ": " + faults.mid(0, 4).join("; "));
    });
    if (std::find(r.walkedScreens_.begin(), r.walkedScreens_.end(), screen) ==
        r.walkedScreens_.end())
        r.walkedScreens_.push_back(screen);
}

// expect-every-window-chinese TEACHER
void ScenarioRunner::Walking::everyWindowChinese(ScenarioRunner& r, const QStringList& a) {
    r.walk(a[1], [&](QWidget* w) {
        const QStringList found = textsWithoutChinese(*w);
        r.expect(found.isEmpty(),
                 w->objectName() + " shows texts without Chinese: " + found.join("; "));
    });
}

// preview-dialog FILE.png
void ScenarioRunner::Walking::previewDialog(ScenarioRunner& r, const QStringList& a) {
    const QString file = a[1];
    r.desktop_.printer.openNextPreview([&r, file](QWidget& dialog) {
        r.settle();
        QDir().mkpath(QFileInfo(file).absolutePath());
        r.expect(dialog.grab().save(file), "could not write " + file);
        const QStringList found = textsWithoutChinese(dialog);
        r.expect(found.isEmpty(),
                 "the print preview shows texts without Chinese: " + found.join("; "));
        const QStringList faults = r.fitFaults(&dialog);
        r.expect(faults.isEmpty(), "the print preview does not fit " + r.screenLabel() + ": " +
                                       faults.mid(0, 4).join("; "));
    });
}

// fit-table
void ScenarioRunner::Walking::fitTable(ScenarioRunner& r, const QStringList&) {
    QString table = "| window |";
    QString rule = "|---|";
    for (const auto& s : r.walkedScreens_) {
        table += " " + s + " |";
        rule += "---|";
    }
    table += "\n" + rule + "\n";
    for (auto it = r.walked_.begin(); it != r.walked_.end(); ++it) {
        table += "| " + it.key() + " |";
        for (const auto& s : r.walkedScreens_) table += " " + it.value().value(s, "—") + " |";
        table += "\n";
    }
    std::cout << table.toStdString() << std::flush;
}

}  // namespace daike
