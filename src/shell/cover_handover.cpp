#include "shell/cover_handover.h"

#include <QAction>

#include "engine/assignment.h"
#include "engine/modification.h"
#include "shell/main_window.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "ui/working_day_moves.h"
#include "windows/engine/absence_entry_window.h"
#include "windows/engine/assignment_window.h"
#include "windows/engine/modification_window.h"

namespace daike {

namespace {

AssignmentWindow* openAssignment() {
    auto* w = qobject_cast<AssignmentWindow*>(findWindow("Form1"));
    return w && w->isVisible() ? w : nullptr;
}

// Form1 made in that mode, or the open one brought forward.
AssignmentWindow* openAssignmentWindow(MainWindow& main, AssignmentWindow::Mode mode) {
    RunContext& ctx = main.context();
    return main.openWindow<AssignmentWindow>("Form1", [&main, &ctx, mode] {
        auto* w = new AssignmentWindow(ctx, &main, mode);
        QObject::connect(w, &AssignmentWindow::dayFinished, &main, &MainWindow::dayFinished);
        return w;
    });
}

}  // namespace

void openAbsenceEntry(MainWindow& main) {
    RunContext& ctx = main.context();
    checkStaleDay(ctx);
    main.openWindow<AbsenceEntryWindow>("Form4", [&main, &ctx] {
        // Teachers already on an open assignment screen cannot be entered again.
        QStringList listed;
        if (auto* form1 = openAssignment()) listed = form1->absentTeachers();
        auto* w = new AbsenceEntryWindow(ctx, &main, listed);
        QObject::connect(
            w, &AbsenceEntryWindow::enterCover, &main,
            [&main](const QStringList&, int weekday) { openSeveralTeachers(main, weekday); });
        return w;
    });
}

void openModification(MainWindow& main) {
    RunContext& ctx = main.context();
    if (auto* open = findWindow("Form3"); open && open->isVisible()) {
        open->raise();
        open->activateWindow();
        return;
    }
    const auto lists = modification::prepare(ctx.store);
    if (showIfRefused(ctx, lists)) return;
    main.openWindow<ModificationWindow>("Form3", [&main, &ctx, &lists] {
        auto* w = new ModificationWindow(ctx, &main, *lists);
        QObject::connect(
            w, &ModificationWindow::coverAgain, &main,
            [&main](const QStringList&, int weekday) { openSeveralTeachers(main, weekday); });
        QObject::connect(w, &ModificationWindow::lateCoverAsked, &main, [&main] {
            if (QAction* a = main.action("dkbd"); a && a->isEnabled()) a->trigger();
        });
        QObject::connect(w, &ModificationWindow::swapAsked, &main, [&main] {
            if (QAction* a = main.action("tkdj"); a && a->isEnabled()) a->trigger();
        });
        return w;
    });
}

void openOneTeacher(MainWindow& main) {
    RunContext& ctx = main.context();
    checkStaleDay(ctx);
    openAssignmentWindow(main, AssignmentWindow::Mode::OneTeacher)->coverOneTeacher();
}

void openSeveralTeachers(MainWindow& main, int weekday) {
    openAssignmentWindow(main, AssignmentWindow::Mode::SeveralTeachers)
        ->startSeveralTeachers(weekday);
}

}  // namespace daike
