#include "windows/main/weekday_chooser.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "school/calendar.h"
#include "store/week.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "ui/working_day_moves.h"

namespace daike {

WeekdayChooser::WeekdayChooser(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form9", QStringLiteral("星期"));
    setFixedSize(300, 150);
    auto* frame = new QGroupBox(QStringLiteral("星期"), this);
    frame->setObjectName("Frame1");
    frame->setGeometry(16, 10, 268, 70);
    for (int i = 0; i < week::kDays; ++i) {
        auto* option = makeRadio(frame, arrayName("Option1", i), QString::number(i + 1),
                                 {16 + i * 50, 30, 44, 24});
        connect(option, &QRadioButton::clicked, this, [this, i] { chosen_ = i + 1; });
    }
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {100, 96, 100, 32});
    setMainButton(this, ok);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    placeWindow(*this, ctx_.platform.screen, {250, 200});
}

void WeekdayChooser::closeEvent(QCloseEvent* e) {
    // The working day moves to the weekday chosen (asking first when today's cover would go);
    // every window that shows it follows.
    if (chosen_) runAction(ctx_, [this] { moveWorkingDay(ctx_, ctx_.day.withWeekday(chosen_)); });
    e->accept();
}

}  // namespace daike
