#include "windows/main/term_checklist_window.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/change_signals.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

constexpr int kWidth = 720;
constexpr int kTop = 58;
constexpr int kRowHeight = 32;

struct StepButtons {
    const char* caption;
    const char* menuItem;
    const char* otherCaption;  // "" when the step has one way in
    const char* otherItem;
};

// The main menu item that does each step, in the order of readiness::Step.
constexpr std::array<StepButtons, readiness::kSteps> kButtons = {{
    {"设定", "xqdyt", "", ""},
    {"输入", "jsxmsr", "", ""},
    {"输入", "bjsr", "", ""},
    {"输入", "kcsr", "", ""},
    {"导入总课表", "zkbdr", "手动输入", "sdsr"},
    {"输入", "jslr", "", ""},
    {"设定", "jbmd", "", ""},
    {"初始化", "kkjs", "", ""},
    {"初始化", "mrjs", "", ""},
    {"初始化", "dkjs", "", ""},
}};

QColor stateColour(readiness::State s) {
    switch (s) {
        case readiness::State::Done:
            return {0, 128, 0};
        case readiness::State::Missing:
            return {192, 0, 0};
        case readiness::State::ToCheck:
            return {192, 96, 0};
        case readiness::State::Optional:
            return {96, 96, 96};
    }
    return {};
}

}  // namespace

TermChecklistWindow::TermChecklistWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormKX", QStringLiteral("开学准备"));
    setFixedSize(kWidth, kTop + readiness::kSteps * kRowHeight + 78);
    auto* intro = makeLabel(
        this, "Label0",
        QStringLiteral("新学期开始前，请按顺序完成下列各步：每步的按钮打开相应的窗口，完成后这里"
                       "自动更新。"),
        {16, 8, kWidth - 32, 44});
    intro->setWordWrap(true);
    for (int i = 0; i < readiness::kSteps; ++i) {
        auto& r = rows_[static_cast<std::size_t>(i)];
        const int y = kTop + i * kRowHeight;
        const auto& b = kButtons[static_cast<std::size_t>(i)];
        r.title = makeLabel(this, arrayName("Label1", i),
                            QStringLiteral("%1. %2").arg(i + 1).arg(
                                qs(readiness::title(static_cast<readiness::Step>(i)))),
                            {16, y + 4, 150, 24});
        r.state = makeLabel(this, arrayName("Label2", i), QString(), {168, y + 4, 60, 24});
        r.detail = makeLabel(this, arrayName("Label3", i), QString(), {230, y + 4, 300, 24});
        const bool two = *b.otherCaption != '\0';
        r.open = makeButton(this, arrayName("Command1", i), QString::fromUtf8(b.caption),
                            {two ? 538 : 628, y + 2, two ? 88 : 76, 28});
        connect(r.open, &QPushButton::clicked, this,
                [this, item = QString::fromUtf8(b.menuItem)] { emit menuItemAsked(item); });
        if (two) {
            r.other = makeButton(this, arrayName("Command2", i), QString::fromUtf8(b.otherCaption),
                                 {628, y + 2, 76, 28});
            connect(r.other, &QPushButton::clicked, this,
                    [this, item = QString::fromUtf8(b.otherItem)] { emit menuItemAsked(item); });
        }
    }
    const int foot = kTop + readiness::kSteps * kRowHeight + 10;
    next_ = makeLabel(this, "Label4", QString(), {16, foot + 6, 440, 48});
    next_->setWordWrap(true);
    start_ = makeButton(this, "Command3", QStringLiteral("开始代课"), {470, foot + 14, 110, 32});
    auto* closing = makeButton(this, "Command4", QStringLiteral("关闭"), {594, foot + 14, 110, 32});
    setMainButton(this, start_);
    connect(start_, &QPushButton::clicked, this, [this] {
        close();
        emit startAsked();
    });
    connect(closing, &QPushButton::clicked, this, &QWidget::close);
    // A step done in its own window shows here at once.
    auto* changes = listen(ctx_, this);
    connect(changes, &ChangeSignals::dayChanged, this, &TermChecklistWindow::refresh);
    refresh();
    placeWindow(*this, ctx_.platform.screen, {40, 20});
}

void TermChecklistWindow::refresh() {
    runAction(ctx_, [this] { steps_ = readiness::check(ctx_.store, ctx_.platform.clock.today()); });
    for (std::size_t i = 0; i < steps_.size() && i < rows_.size(); ++i) {
        const auto& s = steps_[i];
        auto& r = rows_[i];
        r.state->setText(qs(readiness::stateWord(s.state)));
        setTextColour(r.state, stateColour(s.state));
        r.detail->setText(qs(s.detail));
        fitText(r.detail);
    }
    const bool ready = readiness::complete(steps_);
    start_->setEnabled(ready);
    next_->setText(ready ? QStringLiteral("学校基本数据已齐全，可以开始代课。标“请核对”的各步"
                                          "不妨碍代课，有空时再看。")
                         : qs(readiness::nextStepLine(steps_)) +
                               QStringLiteral("（标“未完成”的各步都完成后才能开始代课）"));
}

bool TermChecklistWindow::event(QEvent* e) {
    // Back from a step's window: what it wrote shows.
    if (e->type() == QEvent::WindowActivate) refresh();
    return QWidget::event(e);
}

}  // namespace daike
