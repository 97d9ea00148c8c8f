#include "windows/main/restore_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "store/store.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

RestoreWindow::RestoreWindow(RunContext& ctx, QWidget* owner)
    : ctx_(ctx), backups_(safekeeping::listBackups(ctx.store.directory())) {
    makeToolWindow(this, owner, "RestoreWindow", QStringLiteral("数据恢复"));
    setFixedSize(520, 380);
    const QString folder = qpath(safekeeping::backupFolder(ctx.store.directory()));
    auto* note = makeLabel(
        this, "Label1",
        backups_.empty()
            ? QStringLiteral("备份目录“%1”中还没有备份。可以用“其他文件…”选择一个备份文件。")
                  .arg(folder)
            : QStringLiteral("请选择用来恢复的备份（最新的在最上面）。备份目录：%1").arg(folder),
        {16, 10, 488, 48});
    note->setWordWrap(true);
    auto* list = new QListWidget(this);
    list->setObjectName("List1");
    list->setGeometry(16, 62, 488, 250);
    for (const auto& b : backups_) list->addItem(qs(safekeeping::describe(b)));
    if (!backups_.empty()) list->setCurrentRow(0);

    auto* restore = makeButton(this, "Command1", QStringLiteral("恢复"), {16, 326, 120, 34});
    setMainButton(this, restore);
    restore->setEnabled(!backups_.empty());
    auto* other = makeButton(this, "Command2", QStringLiteral("其他文件…"), {200, 326, 120, 34});
    auto* cancel = makeButton(this, "Command3", QStringLiteral("取消"), {384, 326, 120, 34});
    connect(restore, &QPushButton::clicked, this, [this] { restoreSelected(); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { restoreSelected(); });
    connect(other, &QPushButton::clicked, this, [this] { chooseOther(); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    placeWindow(*this, ctx_.platform.screen, {140, 90});
}

void RestoreWindow::restoreSelected() {
    const int row = findChild<QListWidget*>("List1")->currentRow();
    if (row < 0 || row >= static_cast<int>(backups_.size())) return;
    const QString file = qpath(backups_[static_cast<std::size_t>(row)].file);
    close();
    emit chosen(file);
}

void RestoreWindow::chooseOther() {
    const auto file =
        ctx_.platform.files.openFile(QStringLiteral("选择用来恢复的备份文件"),
                                     qpath(safekeeping::backupFolder(ctx_.store.directory())),
                                     QStringLiteral("代课数据库 (*.db);;所有文件 (*)"));
    if (!file) return;
    close();
    emit chosen(*file);
}

}  // namespace daike
