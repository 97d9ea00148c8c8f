#include "windows/main/login_window.h"

#include <QLineEdit>
#include <QPushButton>

#include "school/admin.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

LoginWindow::LoginWindow(RunContext& ctx, QWidget* main, int code) : ctx_(ctx), code_(code) {
    makeToolWindow(this, main, "Form15", QStringLiteral("系统管理登入框"));
    setFixedSize(320, 150);
    makeLabel(this, "Label2", QStringLiteral("密码:"), {24, 28, 50, 24});
    // The box keeps what is typed and shows a "*" for every character.
    auto* box = makeLineEdit(this, "Text2", {80, 26, 200, 26});
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet("lineedit-password-character: 42");
    box->setMaxLength(50);
    connect(box, &QLineEdit::textChanged, this, [this](const QString& t) { typed_ = t; });
    makeLabel(this, "Label1", QStringLiteral("初始密码为：580417"), {80, 60, 200, 22});
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {110, 96, 100, 32});
    setMainButton(this, ok);
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { login(); }); });
    connect(box, &QLineEdit::returnPressed, ok, &QPushButton::click);
    placeWindow(*this, ctx_.platform.screen, {240, 200});
}

void LoginWindow::login() {
    if (showIfRefused(ctx_, logIn(ctx_.store, ss(typed_)))) return;
    close();
    emit accepted(code_);
}

}  // namespace daike
