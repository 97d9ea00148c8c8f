#include "windows/main/search_windows.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "basedata/classes.h"
#include "engine/lookup.h"
#include "store/week.h"
#include "ui/keyboard.h"
#include "ui/name_completion.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {
constexpr int kWidth = 320;
}  // namespace

SlotSearchWindow::SlotSearchWindow(RunContext& ctx, QWidget* owner, const QString& name,
                                   const QString& caption)
    : ctx_(ctx) {
    makeToolWindow(this, owner, name, caption);
    // The answer follows every choice: no button to run.
    setNoMainButton(this);
    weekday_ = ctx_.day.weekday();
}

int SlotSearchWindow::buildSlotControls(int top) {
    makeLabel(this, "Label2", QStringLiteral("星期"), {20, top + 2, 40, 24});
    auto* back = makeButton(this, "Command6", QStringLiteral("<"), {70, top, 30, 26});
    weekdayBox_ = makeLineEdit(this, "Text2", {104, top, 50, 26});
    weekdayBox_->setAlignment(Qt::AlignCenter);
    auto* forward = makeButton(this, "Command2", QStringLiteral(">"), {158, top, 30, 26});
    showWeekday();
    connect(weekdayBox_, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const int n = text.trimmed().toInt(&ok);
        weekday_ = ok ? n : 0;
    });
    // The buttons change the weekday only; the answer follows at the next period click.
    connect(forward, &QPushButton::clicked, this, [this] {
        weekday_ = lookup::nextWeekday(weekday_);
        showWeekday();
    });
    connect(back, &QPushButton::clicked, this, [this] {
        weekday_ = lookup::previousWeekday(weekday_);
        showWeekday();
    });

    auto* periods = new QButtonGroup(this);
    const int frameTop = top + 38;
    for (int h = 0; h < 2; ++h) {
        const int first = h == 0 ? 1 : week::kMorningPeriods + 1;
        auto* frame = new QGroupBox(qs(week::halfName(first)), this);
        frame->setObjectName(QStringLiteral("Frame%1").arg(h + 1));
        frame->setGeometry(20 + h * 144, frameTop, 136, 110);
        for (int p = first; week::isPeriod(p) && week::isMorning(p) == (h == 0); ++p) {
            const int i = p - 1, j = week::periodInHalf(p) - 1;
            auto* option =
                makeRadio(frame, arrayName("Option1", i), QString(), {16, 24 + j * 26, 20, 22});
            auto* label = makeClickLabel(frame, arrayName("Label1", i + 1),
                                         qs(week::periodName(j + 1)), {38, 24 + j * 26, 80, 22});
            periods->addButton(option, i);
            connect(label, &ClickLabel::clicked, option, &QRadioButton::click);
            connect(option, &QRadioButton::clicked, this,
                    [this, i] { runAction(ctx_, [this, i] { lookUp(i + 1); }); });
        }
    }
    const int answerTop = frameTop + 122;
    for (int a = 0; a < 2; ++a) {
        answer_[a] = makeLabel(this, arrayName("Label1", a == 0 ? 0 : 7), QString(),
                               {20 + a * 144, answerTop, 136, 32});
        answer_[a]->setFrameShape(QFrame::StyledPanel);
        answer_[a]->setAlignment(Qt::AlignCenter);
        QFont f = answer_[a]->font();
        f.setPointSize(f.pointSize() + 3);
        f.setBold(true);
        answer_[a]->setFont(f);
    }
    return answerTop + 32 + 20;
}

void SlotSearchWindow::showWeekday() {
    weekdayBox_->setText(QString::number(weekday_));
}

void SlotSearchWindow::showAnswer(const QString& first, const QString& second) {
    answer_[0]->setText(first);
    answer_[1]->setText(second);
}

ClassSearchWindow::ClassSearchWindow(RunContext& ctx, QWidget* owner)
    : SlotSearchWindow(ctx, owner, "Form11", QStringLiteral("按班查找")) {
    makeLabel(this, "Label3", QStringLiteral("班级"), {20, 18, 40, 24});
    auto* classes = new QComboBox(this);
    classes->setObjectName("Combo1");
    classes->setGeometry(70, 16, 150, 26);
    classes->addItem(QStringLiteral("请选择"));
    for (const auto& c : readClasses(ctx_.store)) classes->addItem(qs(c));
    connect(classes, &QComboBox::activated, this,
            [this, classes](int i) { cls_ = i > 0 ? ss(classes->itemText(i)) : std::string(); });
    setFixedSize(kWidth, buildSlotControls(54));
    placeWindow(*this, ctx_.platform.screen, {240, 150});
}

void ClassSearchWindow::lookUp(int period) {
    const auto checked = lookup::whoIsInClass(ctx_.store, weekday_, cls_, period);
    if (showIfRefused(ctx_, checked)) return;
    const auto& found = *checked;
    using Kind = lookup::InClass::Kind;
    if (found.kind == Kind::NoLesson) {
        // An answer of another slot left on screen would read as this one's.
        showAnswer(QString(), QString());
        ctx_.platform.boxes.ok(QStringLiteral("该班此节无课"));
        return;
    }
    showAnswer(qs(found.teacher), qs(found.subject));
    if (found.kind == Kind::RecordMissing)
        ctx_.platform.boxes.ok(
            QStringLiteral("此节课已标记为代课，但当天代课记录中没有这节课的代课记录，"
                           "显示的是原任课教师！"));
}

TeacherSearchWindow::TeacherSearchWindow(RunContext& ctx, QWidget* owner)
    : SlotSearchWindow(ctx, owner, "Form12", QStringLiteral("教师查找")) {
    makeLabel(this, "Label3", QStringLiteral("教师"), {20, 18, 40, 24});
    nameBox_ = makeLineEdit(this, "Text1", {70, 16, 150, 26});
    attachTeacherCompletion(ctx_, nameBox_);
    connect(nameBox_, &QLineEdit::textEdited, this,
            [this](const QString& text) { name_ = ss(text); });
    auto* pick = makeButton(this, "Command7", QStringLiteral("…"), {226, 16, 40, 26});
    connect(pick, &QPushButton::clicked, this, [this] { emit pickerWanted(); });
    setFixedSize(kWidth, buildSlotControls(54));
    placeWindow(*this, ctx_.platform.screen, {260, 170});
}

void TeacherSearchWindow::takePicked(const QString& name) {
    name_ = ss(name);
    nameBox_->setText(name);
}

void TeacherSearchWindow::lookUp(int period) {
    showAnswer(QString(), QString());
    const auto where = lookup::whereIsTeacher(ctx_.store, weekday_, name_, period,
                                              lookup::bookedDay(ctx_.store, ctx_.day.weekday()));
    if (showIfRefused(ctx_, where)) return;
    showAnswer(qs(where->place), qs(where->status));
}

}  // namespace daike
