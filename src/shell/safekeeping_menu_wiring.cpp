#include "shell/safekeeping_menu_wiring.h"

#include "school/resets.h"
#include "school/term_start.h"
#include "shell/main_window.h"
#include "store/program_version.h"
#include "store/safekeeping.h"
#include "store/store.h"
#include "store/week.h"
#include "ui/backups.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/main/restore_window.h"

namespace daike {

namespace {

namespace fs = std::filesystem;

// 数据备份: a consistent copy of the open database to a file the operator names.
void backUp(RunContext& ctx) {
    const auto dir = ctx.store.directory();
    const auto suggested = safekeeping::operatorBackupPath(dir, officeNow(ctx.platform));
    std::error_code ec;
    fs::create_directories(suggested.parent_path(), ec);
    const auto chosen = ctx.platform.files.saveFile(
        QStringLiteral("数据备份：保存到"), qpath(suggested), QStringLiteral("代课数据库 (*.db)"));
    if (!chosen) return;
    fs::path dest = fspath(*chosen);
    if (dest.extension() != ".db") dest += ".db";
    if (fs::exists(dest, ec) && fs::equivalent(dest, ctx.store.file(), ec)) {
        ctx.platform.boxes.ok(
            QStringLiteral("不能把备份保存到正在使用的数据库文件上，请另选一个文件名。"));
        return;
    }
    ctx.store.backupTo(dest);
    ctx.platform.boxes.ok(
        QStringLiteral("数据已备份到“%1”。\n需要时可以用“数据恢复”从这个文件恢复。")
            .arg(qpath(dest)));
}

// 数据恢复 of one file: checked first; on 是 the current data is backed up and the file swapped
// in. On 否 nothing changes.
void restoreFrom(MainWindow& main, const fs::path& candidate) {
    RunContext& ctx = main.context();
    const auto dir = ctx.store.directory();
    const auto checked = safekeeping::prepareRestore(candidate, dir);
    struct RemoveUnlessUsed {
        fs::path file;
        ~RemoveUnlessUsed() {
            std::error_code ec;
            fs::remove(file, ec);
        }
    } cleanup{checked};

    QString what = QStringLiteral("“%1”").arg(qpath(candidate));
    for (const auto& b : safekeeping::listBackups(dir)) {
        std::error_code ec;
        if (fs::equivalent(b.file, candidate, ec))
            what += QStringLiteral("（%1）").arg(qs(safekeeping::describe(b)));
    }
    const auto madeBy = Store::madeByVersion(checked);
    what += madeBy.empty() ? QStringLiteral("（由 %1 以前的版本制作）").arg(qs(programVersion()))
                           : QStringLiteral("（由代课 %1 制作）").arg(qs(madeBy));
    if (!ctx.platform.boxes.yesNo(
            QStringLiteral("将用备份%1中的数据替换当前的全部数据：教师、班级、课务、代课记录和"
                           "各项统计都会回到备份时的样子，备份之后录入的内容将不再出现。\n"
                           "恢复之前，当前的数据会先自动备份。\n确实要恢复吗？（是/否）")
                .arg(what)))
        return;

    const auto before = backupBefore(ctx, "恢复前");
    // Every other window shows data of the file being replaced.
    for (QWidget* w : main.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w->isWindow() && w->isVisible()) w->close();
    ctx.store.replaceWith(checked);
    // The working day follows the restored file. When its cover is of another day, the
    // operator says which day is worked: a new one (that cover cleared; it stays in the backup
    // just restored) or the restored day itself.
    const auto other = ctx.day.followRestoredFile(ctx.store, ctx.platform.clock.today());
    ctx.platform.boxes.ok(QStringLiteral("数据已从“%1”恢复。\n恢复前的数据已备份到“%2”。")
                              .arg(qpath(candidate))
                              .arg(qpath(before)));
    if (other) {
        const int covers = recordedCovers(ctx.store);
        const QString when =
            (other->weekKnown ? QStringLiteral("第%1周").arg(other->week) : QString()) +
            qs(week::weekdayName(other->weekday));
        if (ctx.platform.boxes.yesNo(
                QStringLiteral("恢复的数据中是%1的代课。是否开始新的一天？").arg(when) + "\n" +
                qs(newDayClears(covers)) +
                QStringLiteral("；选“否”则继续安排%1的代课。").arg(when)))
            ctx.day.clearStaleDay(ctx.store);
        else
            ctx.day.moveTo(ctx.store, *other);
    }
}

}  // namespace

void backUpData(MainWindow& main) {
    backUp(main.context());
}

void openRestore(MainWindow& main) {
    main.openWindow<RestoreWindow>("RestoreWindow", [&main] {
        auto* w = new RestoreWindow(main.context(), &main);
        QObject::connect(w, &RestoreWindow::chosen, &main, [&main](const QString& file) {
            runAction(main.context(), [&] { restoreFrom(main, fspath(file)); });
        });
        return w;
    });
}

}  // namespace daike
