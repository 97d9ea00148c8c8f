#include "shell/timetable_wiring.h"

#include "shell/main_window.h"
#include "ui/run_context.h"
#include "windows/basedata/timetable_print.h"

namespace daike {

void wireTimetableMenu(MainWindow& main) {
    RunContext& ctx = main.context();
    auto output = [&ctx, &main](TimetableKind kind, TimetableOutput how) {
        return [&ctx, &main, kind, how] { outputTimetables(ctx, &main, kind, how); };
    };
    // Anyone in the office may print or export the timetable: nothing is changed.
    main.on("bjkbdy", output(TimetableKind::Classes, TimetableOutput::Print));
    main.on("bjkbyl", output(TimetableKind::Classes, TimetableOutput::Preview));
    main.on("bjkbpdf", output(TimetableKind::Classes, TimetableOutput::Pdf));
    main.on("jskbdy", output(TimetableKind::Teachers, TimetableOutput::Print));
    main.on("jskbyl", output(TimetableKind::Teachers, TimetableOutput::Preview));
    main.on("jskbpdf", output(TimetableKind::Teachers, TimetableOutput::Pdf));
    main.on("kbdc", [&ctx] { exportTimetableWorkbook(ctx); });
}

}  // namespace daike
