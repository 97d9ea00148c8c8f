#include "windows/engine/cover_rules_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "store/week.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

constexpr int kWidth = 500;

// A limit's list: "不限", then 1 to the most; the chosen limit selected.
QComboBox* makeLimitBox(QWidget* parent, const char* name, int most,
                        const std::optional<int>& limit, QRect at) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setGeometry(at);
    box->addItem(QStringLiteral("不限"));
    for (int n = 1; n <= most; ++n) box->addItem(QString::number(n));
    box->setCurrentIndex(limit && *limit >= 1 && *limit <= most ? *limit : 0);
    return box;
}

// The item at index i: none for "不限", else the number.
std::optional<int> limitAt(int i) {
    return i > 0 ? std::optional<int>(i) : std::nullopt;
}

}  // namespace

CoverRulesWindow::CoverRulesWindow(RunContext& ctx, QWidget* owner)
    : ctx_(ctx), chosen_(rules::load(ctx.store)), swaps_(rules::swapSettings(ctx.store)) {
    makeToolWindow(this, owner, "FormGZ", QStringLiteral("代课规则"));
    setFixedSize(kWidth, 404);

    makeLabel(this, "Label1", QStringLiteral("每位教师每日最多代课"), {30, 24, 150, 24});
    auto* perDay = makeLimitBox(this, "Combo1", week::kPeriods, chosen_.perDay, {180, 22, 90, 28});
    makeLabel(this, "Label2", QStringLiteral("节"), {278, 24, 30, 24});
    makeLabel(this, "Label3", QStringLiteral("每位教师每周最多代课"), {30, 64, 150, 24});
    auto* perWeek = makeLimitBox(this, "Combo2", week::kSlots, chosen_.perWeek, {180, 62, 90, 28});
    makeLabel(this, "Label4", QStringLiteral("节"), {278, 64, 30, 24});
    auto* note = makeLabel(
        this, "Label5",
        QStringLiteral("达到上限的教师排在名单最后并标灰，一键安排不再安排他；仍可手选。"),
        {30, 100, kWidth - 60, 44});
    note->setWordWrap(true);
    note->setStyleSheet("color:#666");

    auto* inARow = makeCheck(this, "Check1", QStringLiteral("一键安排时允许同一教师连堂代课"),
                             {30, 156, kWidth - 50, 26});
    inARow->setChecked(chosen_.inARow);
    auto* balanced =
        makeCheck(this, "Check2",
                  QStringLiteral("均衡安排（一键安排时，同类教师中先安排本日、本周代课少的）"),
                  {30, 192, kWidth - 50, 26});
    balanced->setChecked(chosen_.balanced);

    connect(perDay, &QComboBox::currentIndexChanged, this,
            [this](int i) { chosen_.perDay = limitAt(i); });
    connect(perWeek, &QComboBox::currentIndexChanged, this,
            [this](int i) { chosen_.perWeek = limitAt(i); });
    connect(inARow, &QCheckBox::toggled, this, [this](bool on) { chosen_.inARow = on; });
    connect(balanced, &QCheckBox::toggled, this, [this](bool on) { chosen_.balanced = on; });

    // 调课: how far ahead a return lesson is sought, and whether 一键安排 offers a swap first.
    makeLabel(this, "Label6", QStringLiteral("调课向后找"), {30, 234, 80, 24});
    auto* days = new QComboBox(this);
    days->setObjectName("Combo3");
    days->setGeometry(110, 232, 70, 28);
    for (int n = 1; n <= rules::kMostSwapDays; ++n) days->addItem(QString::number(n));
    days->setCurrentIndex(swaps_.days - 1);
    makeLabel(this, "Label7", QStringLiteral("个上课日"), {188, 234, 100, 24});
    auto* swapsFirst = makeCheck(this, "Check3", QStringLiteral("短假优先调课（一键安排先找调课）"),
                                 {30, 272, kWidth - 50, 26});
    swapsFirst->setChecked(swaps_.preferSwaps);
    connect(days, &QComboBox::currentIndexChanged, this, [this](int i) { swaps_.days = i + 1; });
    connect(swapsFirst, &QCheckBox::toggled, this, [this](bool on) { swaps_.preferSwaps = on; });

    auto* ok = makeButton(this, "Command1", QStringLiteral("确定"), {120, 336, 110, 34});
    setMainButton(this, ok);
    auto* cancel = makeButton(this, "Command2", QStringLiteral("取消"), {270, 336, 110, 34});
    connect(ok, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { save(); }); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    placeWindow(*this, ctx_.platform.screen, {200, 120});
}

void CoverRulesWindow::save() {
    // A refused combination writes nothing: the window stays as chosen for the operator to mend.
    if (showIfRefused(ctx_, rules::save(ctx_.store, chosen_, swaps_))) return;
    ctx_.platform.boxes.ok(QStringLiteral("代课规则已保存。"));
    close();
}

}  // namespace daike
