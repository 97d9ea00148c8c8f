#include "windows/main/password_window.h"

#include <QLineEdit>
#include <QPushButton>

#include "school/admin.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

PasswordWindow::PasswordWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form16", QStringLiteral("密码输入"));
    setFixedSize(300, 190);
    makeLabel(this, "Label2", QStringLiteral("旧密码："), {30, 22, 70, 24});
    makeLineEdit(this, "Text2", {100, 20, 170, 26});
    makeLabel(this, "Label1", QStringLiteral("新密码："), {30, 58, 70, 24});
    makeLineEdit(this, "Text1", {100, 56, 170, 26});
    makeLabel(this, "Label3", QStringLiteral("重  输："), {30, 94, 70, 24});
    makeLineEdit(this, "Text3", {100, 92, 170, 26});
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {100, 138, 100, 32});
    setMainButton(this, ok);
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { change(); }); });
    placeWindow(*this, ctx_.platform.screen, {240, 180});
}

void PasswordWindow::change() {
    auto box = [this](const char* name) { return ss(findChild<QLineEdit*>(name)->text()); };
    if (showIfRefused(ctx_, changePassword(ctx_.store, box("Text2"), box("Text1"), box("Text3"))))
        return;
    ctx_.platform.boxes.ok(QString::fromUtf8(kPasswordChanged));
    close();
}

}  // namespace daike
