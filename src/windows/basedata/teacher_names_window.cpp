#include "windows/basedata/teacher_names_window.h"

#include <QLineEdit>
#include <QPushButton>

#include "basedata/teacher_names.h"
#include "ui/backups.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

TeacherNamesWindow::TeacherNamesWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form22", QStringLiteral("教师姓名录入"));
    constexpr int rows = 16, colWidth = 170, rowHeight = 28, top = 14;
    setFixedSize(4 * colWidth + 20, top + rows * rowHeight + 110);
    for (int i = 0; i < kTeacherPlaces; ++i) {
        const int x = 10 + (i / rows) * colWidth, y = top + (i % rows) * rowHeight;
        auto* number = makeLabel(this, arrayName("Label1", i), QString(), {x, y + 2, 40, 22});
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        makeLineEdit(this, arrayName("Text1", i), {x + 44, y, 116, 24});
    }
    const int below = top + rows * rowHeight + 8;
    auto* note = makeLabel(this, "Label2",
                           QStringLiteral("说明：按顺序输入教师姓名，中间不能出现空单无格，完成后按"
                                          "“确定”按钮导入数据库。"),
                           {20, below, 4 * colWidth - 20, 44});
    note->setWordWrap(true);
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"),
                          {(4 * colWidth + 20) / 2 - 50, below + 54, 100, 32});
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { store(); }); });
    placeWindow(*this, ctx_.platform.screen, {60, 20});
    runAction(ctx_, [this] { load(); });
}

void TeacherNamesWindow::load() {
    for (int i = 0; i < kTeacherPlaces; ++i)
        findChild<QLabel*>(arrayName("Label1", i))->setText(QString::number(i + 1) + "、");
    const auto names = readTeacherNames(ctx_.store);
    for (int i = 0; i < kTeacherPlaces && i < static_cast<int>(names.size()); ++i)
        findChild<QLineEdit*>(arrayName("Text1", i))->setText(qs(names[i]));
    if (names.size() > static_cast<std::size_t>(kTeacherPlaces)) {
        // Storing keeps only what the places hold; say so before anything is lost.
        ctx_.platform.boxes.ok(QStringLiteral("数据库中有%1位教师，这里只能显示前%2位；按“确定”"
                                              "后只保存这%2位教师！")
                                   .arg(names.size())
                                   .arg(kTeacherPlaces));
    }
}

void TeacherNamesWindow::store() {
    std::vector<std::string> boxes;
    for (int i = 0; i < kTeacherPlaces; ++i)
        boxes.push_back(ss(findChild<QLineEdit*>(arrayName("Text1", i))->text()));
    backupBefore(ctx_, "教师姓名保存前");
    storeTeacherNames(ctx_.store, boxes);
    ctx_.platform.boxes.ok(QStringLiteral("教师姓名已正确导入数据库！"));
}

}  // namespace daike
