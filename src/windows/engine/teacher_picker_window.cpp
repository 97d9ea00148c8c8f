#include "windows/engine/teacher_picker_window.h"

#include <QCompleter>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "engine/teacher_picker.h"
#include "school/name_search.h"
#include "store/text.h"
#include "ui/keyboard.h"
#include "ui/name_completion.h"
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
        // Long names shrink to fit their place rather than lose their ends.
        fitText(
            makeLabel(frame, arrayName("Label4", k), name, {x + 50, y, kPlaceW - 54, kPlaceH - 2}));
        connect(option, &QRadioButton::clicked, this, [this, k] { pick(k); });
    }
    const int bottom = 10 + rows * kPlaceH + 34;
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"),
                          {12 + (picker::kColumns * kPlaceW + 20 - 100) / 2, bottom + 10, 100, 30});
    setMainButton(this, ok);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    // 查找：the names that fit what is typed stand out, the others step back; choosing one from
    // the box's list picks that teacher as a click on his place does.
    makeLabel(this, "Label5", QStringLiteral("查找："), {12, bottom + 14, 44, 24});
    find_ = makeLineEdit(this, "Text1", {56, bottom + 12, 140, 26});
    attachNameCompletion(find_, [this] { return names_; });
    connect(find_, &QLineEdit::textEdited, this, [this](const QString& text) {
        filter_ = ss(text);
        showFound();
    });
    connect(find_->completer(), qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& name) {
                const auto it = std::find(names_.begin(), names_.end(), ss(name));
                if (it != names_.end()) pick(static_cast<int>(it - names_.begin()));
            });
    setFixedSize(picker::kColumns * kPlaceW + 44, bottom + 52);
    placeWindow(*this, ctx_.platform.screen, {40, 60});
}

bool TeacherPickerWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) placePointer(ctx_.platform, {375, 375}, {525, 465});
    return QWidget::event(e);
}

void TeacherPickerWindow::showFound() {
    const auto found = names::completions(names_, filter_);
    const bool filtering = !text::trimmed(filter_).empty();
    for (std::size_t k = 0; k < names_.size(); ++k) {
        const bool fits = std::find(found.begin(), found.end(), names_[k]) != found.end();
        auto* label = findChild<QLabel*>(arrayName("Label4", static_cast<int>(k)));
        auto* option = findChild<QRadioButton*>(arrayName("Option1", static_cast<int>(k)));
        if (!label || !option) continue;
        if (filtering && fits) {
            setBackground(label, colors::selected);
        } else {
            label->setAutoFillBackground(false);
            label->setPalette(QPalette());
        }
        label->setEnabled(!filtering || fits);
        option->setEnabled(!filtering || fits);
    }
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
    // The next time the picker opens, every teacher shows again.
    find_->clear();
    filter_.clear();
    showFound();
    hide();
    emit picked(name);
}

}  // namespace daike
