#include "engine/menu_wiring.h"

#include "engine/exempt_window.h"
#include "main/main_window.h"
#include "main/run_context.h"

namespace daike {

void wireCoverMenu(MainWindow& main) {
    // 基本免代教师 (Form6): opened without the administrator login.
    main.on("jbmd", [&main] {
        main.openWindow<ExemptWindow>("Form6",
                                      [&main] { return new ExemptWindow(main.context(), &main); });
    });
}

}  // namespace daike
