#include "windows/main/reprint_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "basedata/classes.h"
#include "engine/day_board.h"
#include "school/period_times.h"
#include "ui/change_signals.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/main/notice_output.h"

namespace daike {

namespace {

// "第2节（8:50–9:30）　三(2) 语文　程静（病假）→ 赵晶超"
QString lineOf(const CoverRecord& r, const PeriodTimes& times) {
    return qs(times.label(r.period)) + QStringLiteral("　") + qs(r.cls) + " " + qs(r.subject) +
           QStringLiteral("　") + qs(r.absent) + QStringLiteral("（") + qs(r.reason) +
           QStringLiteral("）→ ") + qs(r.substitute);
}

// The working day's records, as today's board lists them: by period, then class.
std::vector<CoverRecord> daysCover(RunContext& ctx) {
    std::vector<CoverRecord> out;
    for (auto& r : covers::read(ctx.store, CoverTable::Today))
        if (board::onDay(r, ctx.day.week(), ctx.day.weekday())) out.push_back(std::move(r));
    std::stable_sort(out.begin(), out.end(), [](const CoverRecord& a, const CoverRecord& b) {
        return a.period != b.period ? a.period < b.period : classBefore(a.cls, b.cls);
    });
    return out;
}

}  // namespace

ReprintWindow::ReprintWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormCD", QStringLiteral("重打代课通知"));
    // Printing is chosen by its own button: Enter runs none.
    setNoMainButton(this);
    setFixedSize(560, 400);
    makeLabel(this, "Label1",
              QStringLiteral("选择要重打通知的代课（只打印这一份，不改变任何记录）："),
              {16, 10, 528, 24});
    list_ = new QListWidget(this);
    list_->setObjectName("List1");
    list_->setGeometry(16, 38, 528, 290);
    QFont f = list_->font();
    f.setPointSize(11);
    list_->setFont(f);
    hint_ = makeLabel(this, "Label2", QString(), {16, 332, 528, 22});
    const QString captions[] = {QStringLiteral("打印"), QStringLiteral("打印预览"),
                                QStringLiteral("另存为PDF")};
    for (int i = 0; i < 3; ++i) {
        auto* b = makeButton(this, QStringLiteral("Command%1").arg(i + 1), captions[i],
                             {16 + i * 110, 358, 100, 30});
        connect(b, &QPushButton::clicked, this,
                [this, i] { runAction(ctx_, [this, i] { output(i); }); });
        outputs_.push_back(b);
    }
    auto* close = makeButton(this, "Command4", QStringLiteral("关闭"), {444, 358, 100, 30});
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        chosen_ = row;
        for (auto* b : outputs_) b->setEnabled(chosen_ >= 0);
    });
    connect(listen(ctx_, this), &ChangeSignals::dayChanged, this,
            [this] { runAction(ctx_, [this] { refresh(); }); });
    placeWindow(*this, ctx_.platform.screen, {40, 20});
    refresh();
}

void ReprintWindow::refresh() {
    const std::optional<CoverRecord> was =
        chosen_ >= 0 && chosen_ < static_cast<int>(records_.size())
            ? std::optional<CoverRecord>(records_[static_cast<std::size_t>(chosen_)])
            : std::nullopt;
    records_ = daysCover(ctx_);
    chosen_ = -1;
    if (was)
        for (std::size_t i = 0; i < records_.size(); ++i)
            if (records_[i] == *was) chosen_ = static_cast<int>(i);
    render();
}

void ReprintWindow::render() {
    const auto times = readPeriodTimes(ctx_.store);
    const int chosen = chosen_;
    list_->clear();
    for (const auto& r : records_) list_->addItem(lineOf(r, times));
    list_->setCurrentRow(chosen);
    chosen_ = chosen;
    for (auto* b : outputs_) b->setEnabled(chosen_ >= 0);
    hint_->setText(records_.empty() ? QString::fromUtf8(kNoCoverToday)
                                    : QStringLiteral("共%1节代课。").arg(records_.size()));
}

void ReprintWindow::output(int how) {
    if (chosen_ < 0 || chosen_ >= static_cast<int>(records_.size())) return;
    const CoverRecord r = records_[static_cast<std::size_t>(chosen_)];
    const NoticeOutput kinds[] = {NoticeOutput::Print, NoticeOutput::Preview, NoticeOutput::Pdf};
    outputNoticesOf(ctx_, this, nullptr, kinds[how], {r}, QString::fromUtf8(kNoCoverToday),
                    qs(r.substitute));
}

}  // namespace daike
