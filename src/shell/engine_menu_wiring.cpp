#include "shell/engine_menu_wiring.h"

#include "engine/assignment.h"
#include "shell/main_window.h"
#include "ui/run_context.h"
#include "windows/engine/assignment_window.h"
#include "windows/engine/exempt_window.h"

namespace daike {

void wireCoverMenu(MainWindow& main) {
    // 单人代课: clear an earlier day first, then cover one absent teacher.
    main.on("drdk", [&main] {
        RunContext& ctx = main.context();
        assignment::staleDayCheck(ctx.store, ctx.values.knownWeek(), ctx.values.当前星期);
        ctx.values.代课方式 = 1;
        main.openWindow<AssignmentWindow>("Form1", [&] {
            auto* w = new AssignmentWindow(ctx, &main);
            // One calendar for the run: the week and weekday shown here and on the main window
            // follow each other.
            QObject::connect(w, &AssignmentWindow::calendarChanged, &main,
                             &MainWindow::noteCalendarChanged);
            QObject::connect(&main, &MainWindow::calendarChanged, w, &AssignmentWindow::showWeek);
            return w;
        });
    });

    // 基本免代教师 (Form6): opened without the administrator login.
    main.on("jbmd", [&main] {
        main.openWindow<ExemptWindow>("Form6",
                                      [&main] { return new ExemptWindow(main.context(), &main); });
    });
}

}  // namespace daike
