#include "shell/search_menu_wiring.h"

#include "shell/main_window.h"
#include "ui/run_context.h"
#include "windows/engine/teacher_picker_window.h"
#include "windows/main/search_windows.h"

namespace daike {

void wireSearchMenu(MainWindow& main) {
    MainWindow* m = &main;
    RunContext& ctx = main.context();

    main.on("abcz", [m, &ctx] {
        m->openWindow<ClassSearchWindow>("Form11",
                                         [m, &ctx] { return new ClassSearchWindow(ctx, m); });
    });
    main.on("jscz", [m, &ctx] {
        m->openWindow<TeacherSearchWindow>("Form12", [m, &ctx] {
            auto* search = new TeacherSearchWindow(ctx, m);
            QObject::connect(search, &TeacherSearchWindow::pickerWanted, search, [m, &ctx, search] {
                auto* picker = m->openWindow<TeacherPickerWindow>(
                    "Form8", [m, &ctx] { return new TeacherPickerWindow(ctx, m); });
                picker->answerTo(search, &TeacherSearchWindow::takePicked);
            });
            return search;
        });
    });
}

}  // namespace daike
