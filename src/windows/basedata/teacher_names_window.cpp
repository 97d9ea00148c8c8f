#include "windows/basedata/teacher_names_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <algorithm>

#include "basedata/teacher_names.h"
#include "ui/backups.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

TeacherNamesWindow::TeacherNamesWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form22", QStringLiteral("教师姓名录入"));
    // Fits an 800x600 screen with its taskbar at its placed position.
    constexpr int rows = 16, colWidth = 170, rowHeight = 24, top = 10;
    setFixedSize(4 * colWidth + 20, top + rows * rowHeight + 92);
    for (int i = 0; i < kTeacherPlaces; ++i) {
        const int x = 10 + (i / rows) * colWidth, y = top + (i % rows) * rowHeight;
        auto* number = makeLabel(this, arrayName("Label1", i), QString(), {x, y + 1, 40, 20});
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        makeLineEdit(this, arrayName("Text1", i), {x + 44, y, 116, 22});
    }
    const int below = top + rows * rowHeight + 6;
    auto* note = makeLabel(this, "Label2",
                           QStringLiteral("说明：按顺序输入教师姓名，中间不能出现空单无格，完成后按"
                                          "“确定”按钮导入数据库。"),
                           {20, below, 4 * colWidth - 20, 40});
    note->setWordWrap(true);
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"),
                          {(4 * colWidth + 20) / 2 - 50, below + 44, 100, 30});
    setMainButton(this, ok);
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { store(); }); });
    // Enter goes on to the next place, as typing a list down a column; Enter in an empty place
    // or in the last one stores the list.
    for (int i = 0; i < kTeacherPlaces; ++i) {
        auto* box = findChild<QLineEdit*>(arrayName("Text1", i));
        connect(box, &QLineEdit::returnPressed, this, [this, box, ok, i] {
            if (box->text().isEmpty() || i + 1 == kTeacherPlaces)
                ok->click();
            else
                findChild<QLineEdit*>(arrayName("Text1", i + 1))->setFocus();
        });
    }
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
    // A name typed twice is refused before anything is asked: its two places would be one
    // teacher to every look-up.
    if (showIfRefused(ctx_, checkTeacherNames(boxes))) return;
    // The list ends at the first empty place: say which names that leaves out before they go.
    const auto dropped = namesAfterFirstGap(boxes);
    if (!dropped.empty()) {
        const auto gap = std::find(boxes.begin(), boxes.end(), std::string()) - boxes.begin();
        QStringList names;
        for (const auto& n : dropped) names << qs(n);
        if (!ctx_.platform.boxes.okCancel(
                QStringLiteral("第%1个格子是空的，名单到此为止，其后的以下教师姓名不会保存：")
                    .arg(gap + 1) +
                names.join(QStringLiteral("、")) +
                (gap == 0 ? QStringLiteral("。\n按“确定”清空教师名单，按“取消”返回修改。")
                          : QStringLiteral("。\n按“确定”只保存前%1位教师，按“取消”返回修改。")
                                .arg(gap))))
            return;
    }
    if (showIfRefused(ctx_, storeTeacherNames(ctx_.store, boxes,
                                              [this] { backupBefore(ctx_, "教师姓名保存前"); })))
        return;
    ctx_.platform.boxes.ok(QStringLiteral("教师姓名已正确导入数据库！"));
}

}  // namespace daike
