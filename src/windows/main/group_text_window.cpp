#include "windows/main/group_text_window.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "documents/notices.h"
#include "engine/telling.h"
#include "ui/change_signals.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

QButtonGroup* pair(QWidget* parent, QRadioButton* a, QRadioButton* b) {
    auto* g = new QButtonGroup(parent);
    g->addButton(a);
    g->addButton(b);
    return g;
}

}  // namespace

GroupTextWindow::GroupTextWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormTZ", QStringLiteral("复制通知文字"));
    setFixedSize(640, 420);
    makeLabel(this, "Label2", QStringLiteral("发　到："), {16, 12, 60, 24});
    byTeacher_ =
        makeRadio(this, "byTeacher", QStringLiteral("按教师（教师群）"), {80, 12, 170, 24});
    byClass_ = makeRadio(this, "byClass", QStringLiteral("按班级（班主任群）"), {260, 12, 190, 24});
    pair(this, byTeacher_, byClass_);
    makeLabel(this, "Label3", QStringLiteral("内　容："), {16, 42, 60, 24});
    changesOnly_ = makeRadio(this, "changesOnly", QStringLiteral("只发变更"), {80, 42, 170, 24});
    wholeDay_ = makeRadio(this, "wholeDay", QStringLiteral("全部"), {260, 42, 190, 24});
    pair(this, changesOnly_, wholeDay_);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName("text");
    text_->setReadOnly(true);
    text_->setGeometry(16, 74, 608, 284);
    QFont f = text_->font();
    f.setPointSize(11);
    text_->setFont(f);

    copied_ = makeLabel(this, "copied", QString(), {16, 372, 400, 30});
    copied_->setStyleSheet("color:#006000");
    copyButton_ = makeButton(this, "copy", QStringLiteral("复制"), {440, 372, 86, 30});
    setMainButton(this, copyButton_);
    auto* close = makeButton(this, "closeButton", QStringLiteral("关闭"), {538, 372, 86, 30});

    connect(byTeacher_, &QRadioButton::clicked, this, [this] {
        form_ = grouptext::Form::ByTeacher;
        justCopied_ = false;
        render();
    });
    connect(byClass_, &QRadioButton::clicked, this, [this] {
        form_ = grouptext::Form::ByClass;
        justCopied_ = false;
        render();
    });
    connect(changesOnly_, &QRadioButton::clicked, this, [this] {
        onlyChanges_ = true;
        justCopied_ = false;
        render();
    });
    connect(wholeDay_, &QRadioButton::clicked, this, [this] {
        onlyChanges_ = false;
        justCopied_ = false;
        render();
    });
    connect(copyButton_, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { copy(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Another window changed the day's cover: the text follows. Our own record of the telling
    // leaves the text as it was copied, so that the same changes can still go to the other
    // group.
    connect(listen(ctx_, this), &ChangeSignals::dayChanged, this, [this] {
        if (!telling_) runAction(ctx_, [this] { refresh(); });
    });
    placeWindow(*this, ctx_.platform.screen, {80, 60});
    refresh();
}

void GroupTextWindow::refresh() {
    texts_ = grouptext::read(ctx_.store, ctx_.day.day());
    // Once the substitutes were told, the changes are what is sent next; the whole day stays a
    // choice.
    const bool offered = texts_.offersChanges();
    if (offered != changesOffered_) onlyChanges_ = offered;
    changesOffered_ = offered;
    justCopied_ = false;
    render();
}

void GroupTextWindow::render() {
    byTeacher_->setChecked(form_ == grouptext::Form::ByTeacher);
    byClass_->setChecked(form_ == grouptext::Form::ByClass);
    changesOnly_->setEnabled(changesOffered_);
    changesOnly_->setChecked(onlyChanges_);
    wholeDay_->setChecked(!onlyChanges_);
    shown_ = texts_.empty() ? std::string(kNoCoverToday) : texts_.text(form_, onlyChanges_);
    text_->setPlainText(qs(shown_));
    copyButton_->setEnabled(!texts_.empty());
    copied_->setText(justCopied_ ? QStringLiteral("已复制到剪贴板，可以粘贴到群里了。")
                                 : QString());
}

void GroupTextWindow::copy() {
    if (texts_.empty()) return;
    // The text on the clipboard is the text shown; copying it is telling the substitutes.
    ctx_.platform.clipboard.setText(qs(shown_));
    telling_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{telling_};
    telling::markDayTold(ctx_.store, texts_.day.week, texts_.day.weekday);
    justCopied_ = true;
    render();
}

}  // namespace daike
