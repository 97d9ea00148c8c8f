#include "shell/basedata_menu_wiring.h"

#include "shell/main_window.h"
#include "windows/basedata/classes_window.h"
#include "windows/basedata/main_classes_window.h"
#include "windows/basedata/teacher_names_window.h"
#include "windows/basedata/timetable_window.h"
#include "windows/main/password_window.h"

namespace daike {

namespace {
// Login codes of the base-data windows behind the administrator password.
constexpr int kMainClassesCode = 1;
constexpr int kClassesCode = 7;
constexpr int kCoursesCode = 8;
constexpr int kTimetableCode = 11;
}  // namespace

void wireBaseDataMenu(MainWindow& main) {
    MainWindow* m = &main;
    RunContext& ctx = main.context();

    main.on("jsxmsr", [m, &ctx] {
        m->openWindow<TeacherNamesWindow>("Form22",
                                          [m, &ctx] { return new TeacherNamesWindow(ctx, m); });
    });
    // The password window sits with the base data so that the menu of the administration
    // operations stays with the resets.
    main.on("mmlr", [m, &ctx] {
        m->openWindow<PasswordWindow>("Form16", [m, &ctx] { return new PasswordWindow(ctx, m); });
    });

    main.guarded("bjsr", kClassesCode);
    main.setAdminOperation(kClassesCode, [m, &ctx] {
        m->openWindow<ClassesWindow>("Form17", [m, &ctx] { return new ClassesWindow(ctx, m); });
    });
    main.guarded("jslr", kMainClassesCode);
    main.setAdminOperation(kMainClassesCode, [m, &ctx] {
        m->openWindow<MainClassesWindow>("Form7",
                                         [m, &ctx] { return new MainClassesWindow(ctx, m); });
    });
    main.guarded("kcsr", kCoursesCode);
    main.setAdminOperation(kCoursesCode, [m, &ctx] {
        m->openWindow<CoursesWindow>("Form18", [m, &ctx] { return new CoursesWindow(ctx, m); });
    });
    main.guarded("sdsr", kTimetableCode);
    main.setAdminOperation(kTimetableCode, [m, &ctx] {
        m->openWindow<TimetableWindow>("Form19", [m, &ctx] { return new TimetableWindow(ctx, m); });
    });
}

}  // namespace daike
