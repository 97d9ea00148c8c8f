#include "windows/engine/swap_entry_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "store/safekeeping.h"
#include "store/store.h"
#include "store/week.h"
#include "ui/backups.h"
#include "ui/change_signals.h"
#include "ui/keyboard.h"
#include "ui/name_completion.h"
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

// An item shown but not to be chosen.
void greyOut(QListWidgetItem* item) {
    item->setFlags(item->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled));
}

std::string lessonLine(const swapping::DayLesson& d) {
    std::string line =
        d.lesson.cls + " " + week::periodName(d.lesson.slot.period) + " " + d.lesson.subject;
    // "（已调课：李老师）": who has it, so that the operator sees why it cannot be chosen.
    const std::string by = d.by.empty() ? std::string() : "：" + d.by;
    if (d.state == swapping::DayLesson::State::Swapped) line += "（已调课" + by + "）";
    if (d.state == swapping::DayLesson::State::Covered) line += "（已代课" + by + "）";
    return line;
}

}  // namespace

SwapEntryWindow::SwapEntryWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormTK", QStringLiteral("调课登记"));
    setFixedSize(720, 514);
    setNoMainButton(this);

    auto* lesson = new QGroupBox(QStringLiteral("调课的一节课"), this);
    lesson->setObjectName("Frame1");
    lesson->setGeometry(8, 6, 704, 236);
    makeLabel(lesson, "Label1", QStringLiteral("教师："), {10, 26, 44, 24});
    teacher_ = makeLineEdit(lesson, "Text1", {54, 24, 100, 26});
    attachTeacherCompletion(ctx_, teacher_);
    makeLabel(lesson, "Label2", QStringLiteral("第"), {164, 26, 16, 24});
    week_ = makeLineEdit(lesson, "Text2", {180, 24, 40, 26});
    week_->setAccessibleName(QStringLiteral("周次"));
    makeLabel(lesson, "Label3", QStringLiteral("周  星期"), {224, 26, 56, 24});
    weekday_ = makeLineEdit(lesson, "Text3", {280, 24, 40, 26});
    weekday_->setAccessibleName(QStringLiteral("星期"));
    showWorkingDay();
    for (auto* box : {week_, weekday_})
        connect(box, &QLineEdit::textEdited, this, [this] { dayTyped_ = true; });
    auto* find = makeButton(lesson, "Command1", QStringLiteral("列出课务"), {330, 22, 100, 30});
    makeLabel(lesson, "Label4", QStringLiteral("事由："), {446, 26, 44, 24});
    reasonBox_ = new QComboBox(lesson);
    reasonBox_->setObjectName("Combo1");
    reasonBox_->setAccessibleName(QStringLiteral("事由"));
    reasonBox_->setGeometry(490, 24, 140, 26);
    reasonBox_->addItem(QStringLiteral("无（双方商定）"));
    for (const auto r : week::kReasons) reasonBox_->addItem(qs(r));
    makeLabel(lesson, "Label5", QStringLiteral("当天课务："), {10, 56, 200, 20});
    lessonList_ = listBox(lesson, "List1", QStringLiteral("当天课务"), {10, 78, 230, 148});
    makeLabel(lesson, "Label6", QStringLiteral("可调课的同事（两节互换，或以后还课）："),
              {250, 56, 330, 20});
    choiceList_ = listBox(lesson, "List2", QStringLiteral("可调课的同事"), {250, 78, 334, 148});
    auto* swap = makeButton(lesson, "Command2", QStringLiteral("调课"), {594, 78, 100, 32});

    auto* term = new QGroupBox(QStringLiteral("本学期的调课（新的在前）"), this);
    term->setObjectName("Frame2");
    term->setGeometry(8, 246, 704, 222);
    swapList_ = listBox(term, "List3", QStringLiteral("本学期的调课"), {10, 24, 574, 188});
    auto* withdraw = makeButton(term, "Command3", QStringLiteral("撤销"), {594, 24, 100, 32});
    auto* close = makeButton(this, "Command4", QStringLiteral("关闭"), {310, 474, 100, 32});

    const auto list = [this] { runAction(ctx_, [this] { listTyped(); }); };
    connect(find, &QPushButton::clicked, this, list);
    for (auto* box : {teacher_, week_, weekday_})
        connect(box, &QLineEdit::returnPressed, this, list);
    connect(reasonBox_, &QComboBox::currentIndexChanged, this, [this](int i) {
        choice_ = -1;
        reason_ =
            i <= 0 ? std::string() : std::string(week::kReasons[static_cast<std::size_t>(i - 1)]);
        runAction(ctx_, [this] { showChoices(); });
    });
    connect(lessonList_, &QListWidget::currentRowChanged, this, [this](int row) {
        lesson_ = row;
        choice_ = -1;
        runAction(ctx_, [this] { showChoices(); });
    });
    connect(choiceList_, &QListWidget::currentRowChanged, this, [this](int row) { choice_ = row; });
    connect(swapList_, &QListWidget::currentRowChanged, this, [this](int row) { swap_ = row; });
    connect(swap, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { recordSwap(); }); });
    connect(withdraw, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { withdrawSwap(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    // A swap, a cover, an absence or a move of the working day elsewhere changes what is open.
    auto* changes = listen(ctx_, this);
    for (auto signal : {&ChangeSignals::coverChanged, &ChangeSignals::calendarChanged,
                        &ChangeSignals::absencesChanged})
        connect(changes, signal, this, [this] { runAction(ctx_, [this] { readAgain(); }); });
    connect(changes, &ChangeSignals::calendarChanged, this, [this] {
        if (!dayTyped_) showWorkingDay();
    });
    placeWindow(*this, ctx_.platform.screen, {60, 20});
    showSwaps();
}

void SwapEntryWindow::showWorkingDay() {
    const auto& day = ctx_.day.day();
    week_->setText(day.weekKnown ? QString::number(day.week) : QString());
    weekday_->setText(week::isWeekday(day.weekday) ? QString::number(day.weekday) : QString());
}

std::string SwapEntryWindow::now() const {
    const auto shown = safekeeping::shown(officeNow(ctx_.platform));
    return shown.substr(0, 16);  // "2026-12-09 08:15"
}

void SwapEntryWindow::listTyped() {
    const Listed typed{ss(teacher_->text()), ss(week_->text()), ss(weekday_->text())};
    const auto found = swapping::lessonsOfDay(ctx_.store, typed.teacher, typed.week, typed.weekday,
                                              ctx_.day.day());
    // Refused, the lessons listed before stay.
    if (showIfRefused(ctx_, found)) return;
    listed_ = typed;
    lesson_ = -1;
    choice_ = -1;
    lessons_ = *found;
    showLessons();
    if (lessons_.empty())
        ctx_.platform.boxes.ok(QStringLiteral("%1这一天没有课。").arg(qs(listed_->teacher)));
}

void SwapEntryWindow::relist() {
    lessons_.clear();
    if (listed_) {
        const auto found = swapping::lessonsOfDay(ctx_.store, listed_->teacher, listed_->week,
                                                  listed_->weekday, ctx_.day.day());
        if (found) lessons_ = *found;
    }
    showLessons();
}

void SwapEntryWindow::showLessons() {
    const int keep = lesson_;
    lessonList_->blockSignals(true);
    lessonList_->clear();
    for (const auto& d : lessons_) {
        auto* item = new QListWidgetItem(qs(lessonLine(d)), lessonList_);
        if (d.state != swapping::DayLesson::State::Open) greyOut(item);
    }
    // The lesson chosen before stays chosen while it is open, else the first open one.
    const auto open = [this](int i) {
        return i >= 0 && i < static_cast<int>(lessons_.size()) &&
               lessons_[static_cast<std::size_t>(i)].state == swapping::DayLesson::State::Open;
    };
    lesson_ = -1;
    if (open(keep)) {
        lesson_ = keep;
    } else {
        for (int i = 0; i < static_cast<int>(lessons_.size()) && lesson_ < 0; ++i)
            if (open(i)) lesson_ = i;
    }
    if (lesson_ >= 0) lessonList_->setCurrentRow(lesson_);
    lessonList_->blockSignals(false);
    showChoices();
}

void SwapEntryWindow::showChoices() {
    // The choice made stays chosen while it is still offered (a change announced elsewhere
    // lists everything again).
    std::optional<Choice> kept;
    if (choice_ >= 0 && choice_ < static_cast<int>(choices_.size()))
        kept = choices_[static_cast<std::size_t>(choice_)];
    choiceList_->blockSignals(true);
    choiceList_->clear();
    choices_.clear();
    choice_ = -1;
    if (lesson_ >= 0 && lesson_ < static_cast<int>(lessons_.size()) &&
        lessons_[static_cast<std::size_t>(lesson_)].state == swapping::DayLesson::State::Open) {
        const auto lesson = lessons_[static_cast<std::size_t>(lesson_)].lesson;
        const int days = swaps::settings(ctx_.store).days;
        for (const auto& c :
             swapping::candidates(ctx_.store, lesson, ctx_.day.day(), days, !reason_.empty())) {
            // The affinity letters ("数", "班语") when the colleague has any with the class.
            choiceList_->addItem(qs(c.colleague + " " + c.subject + " " + c.when +
                                    (c.affinity.empty() ? "" : " " + c.affinity)));
            choices_.push_back({c.colleague, c});
        }
        for (const auto& name : swapping::oneWayColleagues(ctx_.store, lesson, ctx_.day.day())) {
            choiceList_->addItem(qs(name + "（以后还课）"));
            choices_.push_back({name, std::nullopt});
        }
    }
    for (int i = 0; kept && i < static_cast<int>(choices_.size()) && choice_ < 0; ++i) {
        const auto& c = choices_[static_cast<std::size_t>(i)];
        const bool same = c.colleague == kept->colleague &&
                          c.returnSlot.has_value() == kept->returnSlot.has_value() &&
                          (!c.returnSlot || c.returnSlot->slot == kept->returnSlot->slot);
        if (same) choice_ = i;
    }
    if (choice_ >= 0) choiceList_->setCurrentRow(choice_);
    choiceList_->blockSignals(false);
}

void SwapEntryWindow::recordSwap() {
    if (lesson_ < 0 || lesson_ >= static_cast<int>(lessons_.size())) {
        ctx_.platform.boxes.ok(QStringLiteral("请先列出当天课务，再选择要调的一节课。"));
        return;
    }
    if (choice_ < 0 || choice_ >= static_cast<int>(choices_.size())) {
        ctx_.platform.boxes.ok(QStringLiteral("请在“可调课的同事”中选择一项。"));
        return;
    }
    // Copies: the announcement of the write below lists everything again.
    const auto lesson = lessons_[static_cast<std::size_t>(lesson_)].lesson;
    const auto choice = choices_[static_cast<std::size_t>(choice_)];
    const std::string reason = reason_;
    if (!ctx_.platform.boxes.yesNo(
            qs(swapping::question(ctx_.store, lesson, choice.colleague, choice.returnSlot))))
        return;
    const auto id = swapping::record(ctx_.store, lesson, choice.colleague, choice.returnSlot,
                                     reason, ctx_.day.day(), now());
    if (showIfRefused(ctx_, id)) return;
    readAgain();
}

void SwapEntryWindow::withdrawSwap() {
    if (swap_ < 0 || swap_ >= static_cast<int>(swaps_.size())) {
        ctx_.platform.boxes.ok(QStringLiteral("请先在本学期的调课中选择要撤销的一次。"));
        return;
    }
    const auto swap = swaps_[static_cast<std::size_t>(swap_)];
    if (!ctx_.platform.boxes.yesNo(QStringLiteral("是否撤销这次调课？%1（是/否）")
                                       .arg(qs(swapping::describe(ctx_.store, swap)))))
        return;
    const auto done = swapping::withdraw(ctx_.store, swap.id, ctx_.day.day());
    if (showIfRefused(ctx_, done)) return;
    readAgain();
}

void SwapEntryWindow::showSwaps() {
    const std::int64_t keep = swap_ >= 0 && swap_ < static_cast<int>(swaps_.size())
                                  ? swaps_[static_cast<std::size_t>(swap_)].id
                                  : 0;
    swaps_ = swapping::ofTerm(ctx_.store);
    std::reverse(swaps_.begin(), swaps_.end());
    swapList_->blockSignals(true);
    swapList_->clear();
    swap_ = -1;
    for (int i = 0; i < static_cast<int>(swaps_.size()); ++i) {
        const auto& s = swaps_[static_cast<std::size_t>(i)];
        swapList_->addItem(qs(swapping::describe(ctx_.store, s)));
        if (keep != 0 && s.id == keep) swap_ = i;
    }
    if (swap_ >= 0) swapList_->setCurrentRow(swap_);
    swapList_->blockSignals(false);
}

void SwapEntryWindow::readAgain() {
    relist();
    showSwaps();
}

}  // namespace daike
