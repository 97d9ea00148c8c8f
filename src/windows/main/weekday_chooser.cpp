#include "windows/main/weekday_chooser.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "school/calendar.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

WeekdayChooser::WeekdayChooser(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form9", QStringLiteral("星期"));
    setFixedSize(300, 150);
    auto* frame = new QGroupBox(QStringLiteral("星期"), this);
    frame->setObjectName("Frame1");
    frame->setGeometry(16, 10, 268, 70);
    for (int i = 0; i < 5; ++i)
        makeRadio(frame, arrayName("Option1", i), QString::number(i + 1),
                  {16 + i * 50, 30, 44, 24});
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {100, 96, 100, 32});
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    placeWindow(*this, ctx_.platform.screen, {250, 200});
}

void WeekdayChooser::closeEvent(QCloseEvent* e) {
    int chosen = 0;
    for (int i = 0; i < 5 && !chosen; ++i)
        if (findChild<QRadioButton*>(arrayName("Option1", i))->isChecked()) chosen = i + 1;
    QString shown;
    if (chosen) {
        ctx_.values.当前星期 = static_cast<std::int16_t>(chosen);
        shown = QString::number(chosen);
    } else {
        shown = QString::number(calendar::weekdayNumber(ctx_.platform.clock.today()));
    }
    // The weekday boxes of the assignment screen and of the absence entry follow the choice.
    const std::pair<const char*, const char*> boxes[] = {{"Form1", "Text2"}, {"Form4", "Text3"}};
    for (const auto& [window, box] : boxes) {
        if (auto* w = findWindow(window)) {
            if (auto* edit = w->findChild<QLineEdit*>(box)) edit->setText(shown);
        }
    }
    e->accept();
    emit closed();
}

}  // namespace daike
