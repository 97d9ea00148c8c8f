#include "windows/engine/teacher_picker_window.h"

#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "engine/teacher_picker.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {
const int kPlaceW = 118;
const int kPlaceH = 26;
}  // namespace

TeacherPickerWindow::TeacherPickerWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form8", QStringLiteral("教师选择"));
    names_ = picker::teacherNames(ctx_.store);
    const auto& names = names_;
    const int places = picker::placesFor(names.size());
    const int rows = places / picker::kColumns;
    auto* frame = new QGroupBox(QStringLiteral("选择教师（按姓名排序）："), this);
    frame->setObjectName("Frame1");
    frame->setGeometry(12, 10, picker::kColumns * kPlaceW + 20, rows * kPlaceH + 34);
    for (int k = 0; k < places; ++k) {
        const int x = 10 + (k % picker::kColumns) * kPlaceW;
        const int y = 26 + (k / picker::kColumns) * kPlaceH;
        auto* option = makeRadio(frame, arrayName("Option1", k), QString(), {x, y + 3, 20, 18});
        auto* number = makeLabel(frame, arrayName("Label3", k), QString::number(k + 1) + ".",
                                 {x + 20, y, 26, kPlaceH - 2});
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const QString name =
            k < static_cast<int>(names.size()) ? qs(names[static_cast<std::size_t>(k)]) : QString();
        makeLabel(frame, arrayName("Label4", k), name, {x + 50, y, kPlaceW - 54, kPlaceH - 2});
        connect(option, &QRadioButton::clicked, this, [this, k] { pick(k); });
    }
    const int bottom = 10 + rows * kPlaceH + 34;
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"),
                          {12 + (picker::kColumns * kPlaceW + 20 - 100) / 2, bottom + 10, 100, 30});
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    setFixedSize(picker::kColumns * kPlaceW + 44, bottom + 52);
    placeWindow(*this, ctx_.platform.screen, {40, 60});
}

bool TeacherPickerWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) placePointer(ctx_.platform, {375, 375}, {525, 465});
    return QWidget::event(e);
}

void TeacherPickerWindow::pick(int place) {
    const QString name = place < static_cast<int>(names_.size())
                             ? qs(names_[static_cast<std::size_t>(place)])
                             : QString();
    if (auto* option = findChild<QRadioButton*>(arrayName("Option1", place))) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    hide();
    emit picked(name);
}

}  // namespace daike
