#include "windows/engine/exempt_window.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "engine/exempt.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

ExemptWindow::ExemptWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form6", QStringLiteral("基本免代教师"));
    setFixedSize(460, 330);
    makeLabel(this, "Label2", QStringLiteral("教师姓名:"), {20, 22, 70, 24});
    makeLineEdit(this, "Text1", {92, 20, 110, 26});
    auto* add = makeButton(this, "Command1", QStringLiteral("增加"), {220, 18, 50, 30});
    setMainButton(this, add);
    auto* del = makeButton(this, "Command2", QStringLiteral("删除"), {276, 18, 50, 30});
    auto* show = makeButton(this, "Command3", QStringLiteral("显示"), {332, 18, 50, 30});
    auto* hide = makeButton(this, "Command4", QStringLiteral("隐藏"), {388, 18, 50, 30});

    auto* frame = new QGroupBox(QStringLiteral("显示框"), this);
    frame->setObjectName("Frame1");
    frame->setGeometry(20, 64, 420, 246);
    for (int i = 0; i < kPlaces; ++i) {
        const int row = i / 5, col = i % 5;
        makeLabel(frame, arrayName("Label1", i), QString(), {12 + col * 80, 28 + row * 42, 76, 30});
    }

    connect(add, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { addName(); }); });
    connect(del, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { removeName(); }); });
    connect(show, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { showList(); }); });
    connect(hide, &QPushButton::clicked, this, [this] { hideList(); });

    placeWindow(*this, ctx_.platform.screen, {180, 120});
    runAction(ctx_, [this] { xsgcjs(); });
}

void ExemptWindow::addName() {
    auto* box = findChild<QLineEdit*>("Text1");
    if (showIfRefused(ctx_, exempt::add(ctx_.store, ss(box->text())))) return;
    box->clear();
    showList();
}

void ExemptWindow::removeName() {
    auto* box = findChild<QLineEdit*>("Text1");
    if (showIfRefused(ctx_, exempt::remove(ctx_.store, ss(box->text())))) return;
    box->clear();
    showList();
}

void ExemptWindow::showList() {
    hideList();
    xsgcjs();
}

void ExemptWindow::hideList() {
    for (int i = 0; i < kPlaces; ++i) findChild<QLabel*>(arrayName("Label1", i))->clear();
}

void ExemptWindow::xsgcjs() {
    const auto names = exempt::list(ctx_.store);
    const int n = static_cast<int>(names.size());
    for (int i = 0; i < n && i < kPlaces; ++i) {
        auto* label = findChild<QLabel*>(arrayName("Label1", i));
        if (i == kPlaces - 1 && n > kPlaces)
            label->setText(QStringLiteral("等共%1人").arg(n));
        else
            label->setText(qs(names[static_cast<std::size_t>(i)]));
    }
}

}  // namespace daike
