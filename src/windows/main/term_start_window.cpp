#include "windows/main/term_start_window.h"

#include <QLineEdit>
#include <QPushButton>

#include "school/term_start.h"
#include "store/store.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "ui/working_day_moves.h"

namespace daike {

TermStartWindow::TermStartWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "Form13", QStringLiteral("第一周星期一日期输入"));
    setFixedSize(420, 200);
    makeLabel(this, arrayName("Label1", 0), QStringLiteral("请输入"), {20, 24, 60, 24});
    // The words stand after the boxes ("2026 年 9 月 1 日"): each box is named by the word after
    // it.
    makeLineEdit(this, "Text1", {80, 22, 70, 26})->setAccessibleName(QStringLiteral("年"));
    makeLabel(this, arrayName("Label1", 1), QStringLiteral("年"), {154, 24, 24, 24});
    makeLineEdit(this, "Text2", {180, 22, 50, 26})->setAccessibleName(QStringLiteral("月"));
    makeLabel(this, arrayName("Label1", 2), QStringLiteral("月"), {234, 24, 24, 24});
    makeLineEdit(this, "Text3", {260, 22, 50, 26})->setAccessibleName(QStringLiteral("日"));
    makeLabel(this, arrayName("Label1", 3), QStringLiteral("日"), {314, 24, 24, 24});
    auto* note =
        makeLabel(this, "Label2",
                  QStringLiteral("    说明：此日期为开学报名那一周的星期一，例如假如9月1日为"
                                 "周三，那么这儿填的日期应该为周一，即8月30日。"),
                  {20, 62, 380, 70});
    note->setWordWrap(true);
    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {160, 146, 100, 32});
    setMainButton(this, ok);
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { save(); }); });
    placeWindow(*this, ctx_.platform.screen, {200, 150});
}

void TermStartWindow::save() {
    auto box = [this](const char* name) { return ss(findChild<QLineEdit*>(name)->text()); };
    // Only a real Monday is stored: a wrong day would count every week of the term wrong.
    const auto start = termStartFromBoxes(box("Text1"), box("Text2"), box("Text3"));
    if (showIfRefused(ctx_, start)) return;
    const auto today = ctx_.platform.clock.today();
    // A term that begins next week is entered before it starts; a typing slip in the year looks
    // the same, so the operator says which it is.
    if (*start > today &&
        !ctx_.platform.boxes.yesNo(qs("输入的开学第一周星期一（" + chineseDate(*start) +
                                      "）还没到，在那天之前当前周次都不足1周。确定吗？（是/否）")))
        return;
    // The run counts its weeks from the new date at once. When that moves the working day off
    // the day of today's cover, the operator is asked first; 否 stores nothing.
    if (!moveWorkingDay(ctx_, ctx_.day.withWeek(calendar::weekNumber(*start, today)))) return;
    storeTermStart(ctx_.store, termStartText(*start));
    ctx_.day.followTermStart(ctx_.store, today);
    ctx_.platform.boxes.ok(QStringLiteral("开学第1周星期一的日期已经正确导入数据库！"));
    close();
}

}  // namespace daike
