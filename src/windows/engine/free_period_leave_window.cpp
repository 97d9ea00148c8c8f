#include "windows/engine/free_period_leave_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "store/week.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

// The common layout: a row for each period in the frames 上午 and 下午, the explanation, and
// 确定, which stores and closes exactly as closing the window does.
void buildGrid(QWidget* w, const QString& explanation) {
    w->setFixedSize(420, 290);
    for (int half = 0; half < 2; ++half) {
        const int first = half == 0 ? 1 : week::kMorningPeriods + 1;
        auto* frame = new QGroupBox(qs(week::halfName(first)), w);
        frame->setObjectName(half == 0 ? "Frame1" : "Frame2");
        frame->setGeometry(12 + half * 202, 10, 194, 124);
        for (int p = first; week::isPeriod(p) && week::isMorning(p) == (half == 0); ++p) {
            const int i = p - 1, k = week::periodInHalf(p) - 1;
            auto* label = makeLabel(frame, arrayName("Label1", i), qs(week::periodName(k + 1)),
                                    {30, 26 + k * 30, 70, 24});
            label->setAlignment(Qt::AlignCenter);
            setBackground(label, colors::neutral);
            auto* box =
                makeCheck(frame, arrayName("Check1", i), QString(), {130, 28 + k * 30, 24, 20});
            box->setEnabled(false);
        }
    }
    auto* info = new QGroupBox(QStringLiteral("说明："), w);
    info->setObjectName("Frame3");
    info->setGeometry(12, 142, 396, 96);
    auto* text = makeLabel(info, "Label2", explanation, {10, 22, 376, 66});
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* ok = makeButton(w, "Command1", QStringLiteral("确定"), {160, 248, 100, 32});
    setMainButton(w, ok);
    QObject::connect(ok, &QPushButton::clicked, w, &QWidget::close);
}

QCheckBox* box(QWidget* w, int i) {
    return w->findChild<QCheckBox*>(arrayName("Check1", i));
}
QLabel* periodLabel(QWidget* w, int i) {
    return w->findChild<QLabel*>(arrayName("Label1", i));
}

}  // namespace

FreePeriodLeaveWindow::FreePeriodLeaveWindow(RunContext& ctx, QWidget* owner, const Day& day)
    : ctx_(ctx), day_(day) {
    makeToolWindow(this, owner, "Form10", QStringLiteral("无课公出情况"));
    buildGrid(this, QStringLiteral("红色的行复选框选中，表示该节课虽然无课，但亦外出，"
                                   "未选表示该节空课人在校内。"));
    for (int i = 0; i < week::kPeriods; ++i) {
        if (day_.lesson[static_cast<std::size_t>(i)]) {
            box(this, i)->setEnabled(false);
        } else {
            box(this, i)->setEnabled(true);
            setBackground(periodLabel(this, i), colors::tickable);
        }
    }
    setWindowTitle(QStringLiteral("空课时间是否外出选择"));
    placeWindow(*this, ctx_.platform.screen, {200, 150});
}

void FreePeriodLeaveWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    if (done_) return;
    done_ = true;
    // Only free periods can be ticked: a lesson period is never recorded as a free one.
    leave::Periods ticked{};
    for (int i = 0; i < week::kPeriods; ++i)
        ticked[static_cast<std::size_t>(i)] =
            !day_.lesson[static_cast<std::size_t>(i)] && box(this, i)->isChecked();
    runAction(ctx_, [&] { leave::recordDay(ctx_.store, ss(day_.teacher), day_.covered, ticked); });
    emit recorded();
}

FreePeriodLeaveEditWindow::FreePeriodLeaveEditWindow(RunContext& ctx, QWidget* owner,
                                                     const QString& teacher)
    : ctx_(ctx), teacher_(teacher) {
    makeToolWindow(this, owner, "Form14", QStringLiteral("无课公出"));
    buildGrid(this, QStringLiteral("红色行的复选框打勾，即为该节课空课但人不在校，"
                                   "去掉勾即为该节空课人在校内。"));
    recorded_ = leave::recordedFreePeriods(ctx_.store, ss(teacher_));
    for (int i = 0; i < week::kPeriods; ++i) {
        if (!recorded_[static_cast<std::size_t>(i)]) continue;
        any_ = true;
        box(this, i)->setEnabled(true);
        box(this, i)->setChecked(true);
        setBackground(periodLabel(this, i), colors::tickable);
    }
    setWindowTitle(any_ ? teacher_ + QStringLiteral("老师存在空课但公出的情况，请修改！")
                        : teacher_ + QStringLiteral("老师没有无课公出情况："));
    placeWindow(*this, ctx_.platform.screen, {200, 150});
}

void FreePeriodLeaveEditWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    if (done_) return;
    done_ = true;
    leave::Periods withdrawn{};
    for (int i = 0; i < week::kPeriods; ++i)
        withdrawn[static_cast<std::size_t>(i)] =
            recorded_[static_cast<std::size_t>(i)] && !box(this, i)->isChecked();
    if (runAction(ctx_, [&] { leave::withdraw(ctx_.store, ss(teacher_), withdrawn); }))
        emit corrected(teacher_);
}

FreePeriodLeaveEditWindow* openFreePeriodLeaveEdit(RunContext& ctx, QWidget* owner,
                                                   const QString& teacher) {
    auto* w = new FreePeriodLeaveEditWindow(ctx, owner, teacher);
    if (w->hasAny()) {
        w->show();
        w->activateWindow();
    }
    return w;
}

}  // namespace daike
