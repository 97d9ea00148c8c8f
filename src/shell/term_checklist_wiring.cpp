#include "shell/term_checklist_wiring.h"

#include <QAction>

#include "shell/main_window.h"
#include "windows/main/term_checklist_window.h"

namespace daike {

void openTermChecklist(MainWindow& main) {
    bool made = false;
    auto* w = main.openWindow<TermChecklistWindow>("FormKX", [&main, &made] {
        made = true;
        auto* w = new TermChecklistWindow(main.context(), &main);
        // A step's button does exactly what its menu item does, the login included.
        QObject::connect(w, &TermChecklistWindow::menuItemAsked, &main,
                         [&main](const QString& item) {
                             if (QAction* a = main.action(item); a && a->isEnabled()) a->trigger();
                         });
        QObject::connect(w, &TermChecklistWindow::startAsked, &main,
                         &MainWindow::askStartupQuestionIfDue);
        return w;
    });
    if (!made) w->refresh();
}

}  // namespace daike
