#include "windows/engine/owed_lessons_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "store/store.h"
#include "ui/change_signals.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

QListWidget* listBox(QWidget* parent, const char* name, const QString& accessible, QRect at) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessible);
    list->setGeometry(at);
    return list;
}

// "张老师欠李老师 一(1) 1节（12月9日第3节，已3天）".
std::string owedLine(const swapping::Owed& o) {
    return o.swap.teacher + "欠" + o.swap.colleague + " " + o.swap.cls + " 1节（" + o.when + "，" +
           (o.age > 0 ? "已" + std::to_string(o.age) + "天" : std::string("当天")) + "）";
}

}  // namespace

OwedLessonsWindow::OwedLessonsWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormQK", QStringLiteral("欠课表"));
    setFixedSize(600, 470);
    setNoMainButton(this);

    auto* owedBox = new QGroupBox(QStringLiteral("未还的课（早的在前）"), this);
    owedBox->setObjectName("Frame1");
    owedBox->setGeometry(8, 6, 584, 200);
    count_ = makeLabel(owedBox, "Label1", QString(), {10, 22, 564, 22});
    owedList_ = listBox(owedBox, "List1", QStringLiteral("未还的课"), {10, 46, 564, 144});

    auto* returnBox =
        new QGroupBox(QStringLiteral("可以还课的时间（欠课教师去上对方的这节课）"), this);
    returnBox->setObjectName("Frame2");
    returnBox->setGeometry(8, 210, 584, 212);
    returnList_ = listBox(returnBox, "List2", QStringLiteral("可以还课的时间"), {10, 24, 454, 178});
    auto* pay = makeButton(returnBox, "Command1", QStringLiteral("还课"), {474, 24, 100, 32});
    auto* close = makeButton(this, "Command2", QStringLiteral("关闭"), {250, 430, 100, 32});

    connect(owedList_, &QListWidget::currentRowChanged, this, [this](int row) {
        owedRow_ = row;
        runAction(ctx_, [this] { showReturns(); });
    });
    connect(returnList_, &QListWidget::currentRowChanged, this,
            [this](int row) { returnRow_ = row; });
    connect(pay, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { payBack(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* changes = listen(ctx_, this);
    for (auto signal : {&ChangeSignals::coverChanged, &ChangeSignals::calendarChanged,
                        &ChangeSignals::absencesChanged})
        connect(changes, signal, this, [this] { runAction(ctx_, [this] { showOwed(); }); });
    placeWindow(*this, ctx_.platform.screen, {100, 40});
    showOwed();
}

void OwedLessonsWindow::showOwed() {
    const std::int64_t keep = owedRow_ >= 0 && owedRow_ < static_cast<int>(owed_.size())
                                  ? owed_[static_cast<std::size_t>(owedRow_)].swap.id
                                  : 0;
    owed_ = swapping::owed(ctx_.store, ctx_.platform.clock.today());
    std::stable_sort(owed_.begin(), owed_.end(),
                     [](const auto& a, const auto& b) { return a.swap.first < b.swap.first; });
    owedList_->blockSignals(true);
    owedList_->clear();
    owedRow_ = owed_.empty() ? -1 : 0;
    for (int i = 0; i < static_cast<int>(owed_.size()); ++i) {
        owedList_->addItem(qs(owedLine(owed_[static_cast<std::size_t>(i)])));
        if (owed_[static_cast<std::size_t>(i)].swap.id == keep) owedRow_ = i;
    }
    if (owedRow_ >= 0) owedList_->setCurrentRow(owedRow_);
    owedList_->blockSignals(false);
    count_->setText(owed_.empty() ? QStringLiteral("没有未还的课。")
                                  : QStringLiteral("共%1节课未还。").arg(owed_.size()));
    showReturns();
}

void OwedLessonsWindow::showReturns() {
    returnList_->blockSignals(true);
    returnList_->clear();
    returns_.clear();
    returnRow_ = -1;
    if (owedRow_ >= 0 && owedRow_ < static_cast<int>(owed_.size())) {
        const auto& swap = owed_[static_cast<std::size_t>(owedRow_)].swap;
        returns_ = swapping::returnSlots(ctx_.store, swap, ctx_.day.day(),
                                         swaps::settings(ctx_.store).days);
        for (const auto& c : returns_)
            returnList_->addItem(qs(c.when + " " + c.colleague + "的" + swap.cls + c.subject));
    }
    returnList_->blockSignals(false);
}

void OwedLessonsWindow::payBack() {
    if (owedRow_ < 0 || owedRow_ >= static_cast<int>(owed_.size())) {
        ctx_.platform.boxes.ok(QStringLiteral("没有未还的课。"));
        return;
    }
    if (returnRow_ < 0 || returnRow_ >= static_cast<int>(returns_.size())) {
        ctx_.platform.boxes.ok(QStringLiteral("请先选择还课的时间。"));
        return;
    }
    // Copies: the announcement of the write below lists everything again.
    const auto owed = owed_[static_cast<std::size_t>(owedRow_)];
    const auto ret = returns_[static_cast<std::size_t>(returnRow_)];
    if (!ctx_.platform.boxes.yesNo(
            QStringLiteral("是否确定：“%1”老师于%2上“%3”老师的%4%5，还%6的课？（是/否）")
                .arg(qs(owed.swap.teacher), qs(ret.when), qs(owed.swap.colleague),
                     qs(owed.swap.cls), qs(ret.subject), qs(owed.when))))
        return;
    const auto done = swapping::payBack(ctx_.store, owed.swap.id, ret, ctx_.day.day(),
                                        swaps::settings(ctx_.store).days);
    if (showIfRefused(ctx_, done)) return;
    showOwed();
}

}  // namespace daike
