#include "shell/admin_menu_wiring.h"

#include "school/resets.h"
#include "shell/main_window.h"
#include "ui/backups.h"
#include "ui/run_context.h"

namespace daike {

void wireAdministrationMenu(MainWindow& main) {
    RunContext& ctx = main.context();
    auto& boxes = ctx.platform.boxes;

    main.on("xdyt", [&ctx] { newDay(ctx.store); });
    main.on("kkjs", [&ctx, &boxes] {
        buildFreeTeachers(ctx.store);
        boxes.ok(QStringLiteral("空课教师初始化完成！"));
    });
    main.on("mrjs", [&ctx, &boxes] {
        countDailyLessons(ctx.store);
        boxes.ok(QStringLiteral("每日节数初始化完成！"));
    });

    // Behind the administrator password: the login runs these by their action code.
    main.guarded("dkjs", 9);
    main.setAdminOperation(9, [&ctx, &boxes] {
        const auto backup = backupBefore(ctx, "代课节数初始化前");
        resetCoverCounts(ctx.store);
        boxes.ok(QStringLiteral("代课节数初始化完成！") + backupLine(backup));
    });
    main.guarded("xqdk", 10);
    main.setAdminOperation(10, [&ctx, &boxes] {
        const auto backup = backupBefore(ctx, "代课明细清零前");
        clearTermRecords(ctx.store);
        boxes.ok(QStringLiteral("代课明细初始化完成！") + backupLine(backup));
    });
    main.guarded("sysjqk", 12);
    main.setAdminOperation(12, [&ctx, &boxes] {
        if (!boxes.yesNo(QStringLiteral("确实需要把所有数据清空吗？（是/否）"))) return;
        const auto backup = backupBefore(ctx, "所有数据清空前");
        emptyAllData(ctx.store);
        boxes.ok(QStringLiteral("清空所有数据库内容完毕，请及时录入各项基本数据！") +
                 backupLine(backup));
    });
}

}  // namespace daike
