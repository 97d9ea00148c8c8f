#include "windows/main/period_times_window.h"

#include <QLineEdit>
#include <QPushButton>

#include "school/period_times.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {
constexpr int kRowHeight = 36;
constexpr int kFirstRow = 80;
// The afternoon stands a little apart from the morning.
int rowTop(int period) {
    return kFirstRow + (period - 1) * kRowHeight + (week::isMorning(period) ? 0 : 12);
}
}  // namespace

PeriodTimesWindow::PeriodTimesWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormZX", QStringLiteral("作息时间设定"));
    const int buttonsTop = rowTop(week::kPeriods) + kRowHeight + 58;
    setFixedSize(420, buttonsTop + 52);
    auto* note = makeLabel(this, "Label1",
                           QStringLiteral("请填写每节课的开始和结束时间，如“8:00”。不填的节次，"
                                          "通知和安排表上只写第几节。"),
                           {20, 12, 380, 40});
    note->setWordWrap(true);
    makeLabel(this, "Label2", QStringLiteral("开始"), {150, kFirstRow - 22, 90, 20})
        ->setAlignment(Qt::AlignCenter);
    makeLabel(this, "Label3", QStringLiteral("结束"), {270, kFirstRow - 22, 90, 20})
        ->setAlignment(Qt::AlignCenter);
    for (int p = 1; p <= week::kPeriods; ++p) {
        const auto i = static_cast<std::size_t>(p - 1);
        const int y = rowTop(p);
        if (week::periodInHalf(p) == 1)
            makeLabel(this, arrayName("halfLabel", p), qs(week::halfName(p)), {30, y + 2, 40, 24});
        makeLabel(this, arrayName("periodLabel", p), qs(week::periodName(p)), {80, y + 2, 60, 24});
        starts_[i] = makeLineEdit(this, arrayName("startBox", p), {150, y, 90, 28});
        makeLabel(this, arrayName("dashLabel", p), QStringLiteral("–"), {240, y + 2, 30, 24})
            ->setAlignment(Qt::AlignCenter);
        ends_[i] = makeLineEdit(this, arrayName("endBox", p), {270, y, 90, 28});
    }
    auto* hint = makeLabel(this, "Label4", QStringLiteral("全部清除后保存，就不再写时间。"),
                           {20, buttonsTop - 40, 380, 24});
    hint->setStyleSheet("color:#666");
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {40, buttonsTop, 100, 32});
    setMainButton(this, ok);
    auto* clear = makeButton(this, "Command2", QStringLiteral("清除"), {160, buttonsTop, 100, 32});
    auto* cancel = makeButton(this, "Command3", QStringLiteral("取消"), {280, buttonsTop, 100, 32});
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { save(); }); });
    connect(clear, &QPushButton::clicked, this, [this] { showTimes({}); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    showTimes(periodtimes::read(ctx_.store));
    placeWindow(*this, ctx_.platform.screen, {220, 110});
}

void PeriodTimesWindow::showTimes(const week::PerPeriod<periodtimes::StoredTimes>& times) {
    for (std::size_t i = 0; i < times.size(); ++i) {
        starts_[i]->setText(qs(times[i].start));
        ends_[i]->setText(qs(times[i].end));
    }
}

void PeriodTimesWindow::save() {
    week::PerPeriod<periodtimes::StoredTimes> typed{};
    for (std::size_t i = 0; i < typed.size(); ++i)
        typed[i] = {ss(starts_[i]->text()), ss(ends_[i]->text())};
    // A refused time writes nothing: the boxes stay as typed for the operator to mend.
    if (showIfRefused(ctx_, storePeriodTimes(ctx_.store, typed))) return;
    ctx_.platform.boxes.ok(
        readPeriodTimes(ctx_.store).any()
            ? QStringLiteral("作息时间已保存，通知和代课安排表将写上每节的时间。")
            : QStringLiteral("作息时间已清空，通知和代课安排表只写第几节。"));
    close();
}

}  // namespace daike
