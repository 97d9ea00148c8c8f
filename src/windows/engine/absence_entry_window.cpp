#include "windows/engine/absence_entry_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>

#include "engine/teacher_picker.h"
#include "school/term_start.h"
#include "store/week.h"
#include "ui/change_signals.h"
#include "ui/keyboard.h"
#include "ui/name_completion.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "ui/working_day_moves.h"

namespace daike {

namespace {

const QColor kChosen{255, 128, 255};
const int kPlaceW = 124;
const int kPlaceH = 24;
const int kVisibleRows = 9;  // 54 places show at once; more teachers scroll

}  // namespace

AbsenceEntryWindow::AbsenceEntryWindow(RunContext& ctx, QWidget* owner, const QStringList& listed)
    : ctx_(ctx), listed_(listed) {
    makeToolWindow(this, owner, "Form4", QStringLiteral("需代教师课目输入"));
    // The day's queue outlives this window: only a new day empties it.
    build();
    // The working day's weekday, following every move of it.
    showWeekday(ctx_.day.weekday());
    connect(listen(ctx_, this), &ChangeSignals::calendarChanged, this,
            &AbsenceEntryWindow::followWorkingDay);
    fillGrid();
    placeWindow(*this, ctx_.platform.screen, {10, 0});
    reset();
}

void AbsenceEntryWindow::build() {
    setFixedSize(780, 500);

    makeLabel(this, "Label1", QStringLiteral("姓名："), {14, 12, 44, 26});
    name_ = makeLineEdit(this, "Text1", {58, 12, 110, 26});
    attachTeacherCompletion(ctx_, name_);
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& t) {
        // Another name typed: the rows shown belong to the teacher confirmed before.
        if (!teacher_.isEmpty() && t != teacher_) {
            teacher_.clear();
            render();
        }
    });
    connect(name_, &QLineEdit::returnPressed, this,
            [this] { runAction(ctx_, [this] { confirmTeacher(); }); });
    auto* confirm = makeButton(this, "Command1", QStringLiteral("确定"), {176, 12, 64, 26});
    connect(confirm, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { confirmTeacher(); }); });

    makeLabel(this, "Label2", QStringLiteral("星期："), {270, 12, 44, 26});
    weekday_ = makeLineEdit(this, "Text3", {314, 12, 34, 26});
    weekday_->setAlignment(Qt::AlignCenter);
    later_ = makeButton(this, "Command6", QString(), {350, 12, 22, 13});
    later_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    later_->setToolTip(QStringLiteral("后一天"));
    earlier_ = makeButton(this, "Command7", QString(), {350, 25, 22, 13});
    earlier_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    earlier_->setToolTip(QStringLiteral("前一天"));
    connect(later_, &QPushButton::clicked, this, [this] { stepWeekday(1); });
    connect(earlier_, &QPushButton::clicked, this, [this] { stepWeekday(-1); });
    auto* hint = makeLabel(this, "Label5",
                           QStringLiteral("点选教师，勾选外出的节次（空课外出也勾选），"
                                          "再按下方“确定”；教师都选好后按“进入代课”。"),
                           {388, 6, 384, 36});
    hint->setWordWrap(true);

    // The rows of the chosen teacher's day, morning and afternoon side by side.
    for (int h = 0; h < 2; ++h) {
        auto* frame = new QGroupBox(this);
        frame->setObjectName(h == 0 ? "Frame2" : "Frame3");
        frame->setGeometry(12 + h * 384, 318, 372, 124);
        halves_[static_cast<std::size_t>(h)] = makeCheck(
            frame, arrayName("Check3", h),
            h == 0 ? QStringLiteral("上  午") : QStringLiteral("下    午"), {10, 8, 120, 22});
        connect(halves_[static_cast<std::size_t>(h)], &QCheckBox::clicked, this,
                [this, h] { halfClicked(h); });
        for (int r = 0; r < week::kPeriods; ++r) {
            if (week::isMorning(r + 1) != (h == 0)) continue;
            const int k = week::periodInHalf(r + 1) - 1;
            const int y = 34 + k * 28;
            auto& row = rows_[static_cast<std::size_t>(r)];
            row.first = makeCheck(frame, arrayName("Check1", r), QString(), {10, y + 2, 20, 20});
            row.number = makeCell(frame, arrayName("Label7", r), QStringLiteral("%1.").arg(k + 1),
                                  {34, y, 26, 24});
            row.cls = makeCell(frame, arrayName("Label13", r), QString(), {62, y, 104, 24});
            row.ban =
                makeCell(frame, arrayName("Label19", r), QStringLiteral("班"), {168, y, 24, 24});
            row.subject = makeCell(frame, arrayName("Label25", r), QString(), {194, y, 104, 24});
            row.ke =
                makeCell(frame, arrayName("Label31", r), QStringLiteral("课"), {300, y, 24, 24});
            row.second = makeCheck(frame, arrayName("Check2", r), QString(), {336, y + 2, 20, 20});
            connect(row.first, &QCheckBox::clicked, this, [this, r] { rowClicked(r); });
            connect(row.second, &QCheckBox::clicked, this, [this, r] { rowClicked(r); });
        }
    }

    store_ = makeButton(this, "Command4", QStringLiteral("确定"), {250, 456, 120, 32});
    setMainButton(this, store_);
    leave_ = makeButton(this, "Command5", QStringLiteral("进入代课"), {410, 456, 120, 32});
    connect(store_, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { storeSelection(); }); });
    connect(leave_, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { leave(); }); });
}

void AbsenceEntryWindow::fillGrid() {
    for (const auto& n : picker::teacherNames(ctx_.store)) names_.push_back(qs(n));
    const int places = picker::placesFor(names_.size());
    const int rows = places / picker::kColumns;

    auto* frame = new QGroupBox(QStringLiteral("教师名单（按姓名排序）："), this);
    frame->setObjectName("Frame1");
    frame->setGeometry(12, 46, 756, kVisibleRows * kPlaceH + 44);
    auto* scroll = new QScrollArea(frame);
    scroll->setObjectName("teacherScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setGeometry(4, 22, 748, kVisibleRows * kPlaceH + 18);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* grid = new QWidget;
    grid->setObjectName("teacherGrid");
    grid->resize(picker::kColumns * kPlaceW, rows * kPlaceH);
    for (int k = 0; k < places; ++k) {
        const int x = 4 + (k % picker::kColumns) * kPlaceW;
        const int y = (k / picker::kColumns) * kPlaceH;
        auto* option = makeRadio(grid, arrayName("Option1", k), QString(), {x, y + 3, 20, 18});
        auto* number = makeLabel(grid, arrayName("Label3", k), QString::number(k + 1) + ".",
                                 {x + 20, y, 26, kPlaceH - 2});
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const QString name =
            k < static_cast<int>(names_.size()) ? names_[static_cast<std::size_t>(k)] : QString();
        makeLabel(grid, arrayName("Label4", k), name, {x + 50, y, kPlaceW - 54, kPlaceH - 2});
        if (name.isEmpty()) option->setEnabled(false);
        connect(option, &QRadioButton::clicked, this, [this, k, option] {
            clearRadio(option);
            runAction(ctx_, [this, k] { gridClicked(k); });
        });
    }
    scroll->setWidget(grid);
}

void AbsenceEntryWindow::gridClicked(int place) {
    if (place >= static_cast<int>(names_.size())) return;
    name_->setText(names_[static_cast<std::size_t>(place)]);
    placePointer(ctx_.platform, {250, 210}, {550, 285});
    confirmTeacher();
}

void AbsenceEntryWindow::showWeekday(int weekday) {
    weekday_->setText(QString::number(weekday));
}

void AbsenceEntryWindow::stepWeekday(int delta) {
    // The working day moves (asking first when today's cover would go); followWorkingDay shows
    // it.
    runAction(ctx_, [&] { moveWorkingDay(ctx_, ctx_.day.stepped(delta)); });
}

void AbsenceEntryWindow::followWorkingDay() {
    showWeekday(ctx_.day.weekday());
    // The rows shown were another day's.
    if (!teacher_.isEmpty() && weekday_value_ != ctx_.day.weekday())
        runAction(ctx_, [this] { confirmTeacher(); });
}

void AbsenceEntryWindow::confirmTeacher() {
    if (name_->text().trimmed().isEmpty() || weekday_->text().trimmed().isEmpty()) {
        ctx_.platform.boxes.okCancel(QStringLiteral("您还内容没有填写完整,请确认！"));
        return;
    }
    // A name no teacher has is told first, with the names it was probably meant for; nothing
    // else happens then (the working day stays where it is).
    const auto stored = absence::storedTeacher(ctx_.store, ss(name_->text()));
    if (showIfRefused(ctx_, stored)) return;
    const auto weekday = absence::weekdayFrom(ss(weekday_->text()));
    if (showIfRefused(ctx_, weekday)) return;
    // A weekday typed into the box moves the working day, as an arrow does.
    if (*weekday != ctx_.day.weekday() && !moveWorkingDay(ctx_, ctx_.day.withWeekday(*weekday))) {
        showWeekday(ctx_.day.weekday());
        return;
    }
    const QString name = qs(*stored);
    if (listed_.contains(name) || entered_.contains(name)) {
        ctx_.platform.boxes.ok(QStringLiteral("该教师已经进行需代课目选定，不能再重复选定！"));
        return;
    }
    teacher_ = name;
    weekday_value_ = *weekday;
    sheet_ = absence::DaySheet::load(ctx_.store, ss(name), *weekday, ctx_.day.knownWeek());
    render();
    // A teacher without lessons that day may still be away in free periods: the six rows stay
    // open for that.
    if (!sheet_.hasLessons()) ctx_.platform.boxes.ok(QStringLiteral("该教师本日无课务安排！"));
}

void AbsenceEntryWindow::rowClicked(int r) {
    if (guard_ != 0) return;
    guard_ = 1;
    if (!teacher_.isEmpty()) sheet_.toggle(r);
    render();
    guard_ = 0;
}

void AbsenceEntryWindow::halfClicked(int h) {
    if (guard_ != 0) return;
    guard_ = 3;
    if (!teacher_.isEmpty()) sheet_.clickHalf(h);
    render();
    guard_ = 0;
}

void AbsenceEntryWindow::render() {
    const bool on = !teacher_.isEmpty();
    for (int r = 0; r < week::kPeriods; ++r) {
        auto& w = rows_[static_cast<std::size_t>(r)];
        const QSignalBlocker b1(w.first), b2(w.second);
        for (auto* l : w.labels()) setBackground(l, colors::neutral);
        if (!on) {
            for (auto* l : w.labels()) l->setEnabled(true);
            w.cls->clear();
            w.subject->clear();
            for (auto* box : {w.first, w.second}) {
                box->setChecked(false);
                box->setEnabled(false);
            }
            continue;
        }
        const auto& row = sheet_.row(r);
        w.cls->setText(qs(row.classText()));
        w.subject->setText(qs(row.subjectText()));
        const bool lesson = !row.free() && !row.covered();
        for (auto* l : w.labels()) l->setEnabled(lesson);
        const bool ticked = row.selected && !row.covered();
        for (auto* box : {w.first, w.second}) {
            box->setEnabled(!row.covered());
            box->setChecked(ticked);
        }
        if (ticked) {
            setBackground(w.cls, kChosen);
            setBackground(w.subject, kChosen);
        }
    }
    for (int h = 0; h < 2; ++h) {
        auto* box = halves_[static_cast<std::size_t>(h)];
        const QSignalBlocker b(box);
        if (!on) {
            box->setCheckState(Qt::Unchecked);
            box->setEnabled(false);
            continue;
        }
        switch (sheet_.half(h)) {
            case absence::Half::All:
                box->setCheckState(Qt::Checked);
                box->setEnabled(true);
                break;
            case absence::Half::Part:
                box->setCheckState(Qt::PartiallyChecked);
                box->setEnabled(false);
                break;
            case absence::Half::None:
                box->setCheckState(Qt::Unchecked);
                box->setEnabled(true);
                break;
        }
    }
    // The day's queue belongs to one weekday: once a teacher is stored it stays.
    const bool dayFixed = !entered_.isEmpty();
    weekday_->setReadOnly(dayFixed);
    later_->setEnabled(!dayFixed);
    earlier_->setEnabled(!dayFixed);
}

void AbsenceEntryWindow::storeSelection() {
    if (teacher_.isEmpty()) {
        ctx_.platform.boxes.ok(QStringLiteral("请选择公出教师再点此“确定”！"));
        return;
    }
    if (!sheet_.anySelected()) {
        ctx_.platform.boxes.ok(QStringLiteral("请选择需要安排的课务再点此“确定”！"));
        return;
    }
    const auto done = absence::storeTeacher(ctx_.store, ss(teacher_), weekday_value_, sheet_,
                                            ctx_.day.knownWeek());
    entered_ << teacher_;
    if (done.needsCover && !toCover_.contains(teacher_)) toCover_ << teacher_;
    if (!done.notFound.empty()) {
        QString list;
        for (const auto& n : done.notFound) list += (list.isEmpty() ? "" : "、") + qs(n);
        ctx_.platform.boxes.ok(QStringLiteral("以下课务已不在任课情况中，没有记入：") + list +
                               QStringLiteral("。其余已经记入。"));
    }
    reset();
}

void AbsenceEntryWindow::reset() {
    teacher_.clear();
    sheet_ = {};
    name_->clear();
    render();
    store_->setEnabled(true);
    leave_->setEnabled(true);
    placePointer(ctx_.platform, {390, 380}, {517, 455});
}

void AbsenceEntryWindow::leave() {
    if (!name_->text().trimmed().isEmpty()) {
        ctx_.platform.boxes.ok(QStringLiteral("您的需代输入还没确定（请确认）！"));
        reset();
        return;
    }
    if (!ctx_.platform.boxes.yesNo(
            QStringLiteral("您已确定需要离开此多人需代课务选择界面，准备进入实际代课安排界面了吗？"
                           "（是/否)")))
        return;
    handOver();
    close();
}

void AbsenceEntryWindow::handOver() {
    handedOver_ = true;
    emit enterCover(toCover_, ctx_.day.weekday());
}

void AbsenceEntryWindow::closeEvent(QCloseEvent* e) {
    // Teachers stored but never handed over would keep their lessons held back and queued
    // with no one to cover them: the operator decides.
    const bool runEnding = parentWidget() && parentWidget()->property("endingRun").toBool();
    if (!handedOver_ && !runEnding && !toCover_.isEmpty() &&
        ctx_.platform.boxes.yesNo(
            QStringLiteral("已确定的需代教师（") + toCover_.join("、") +
            QStringLiteral("）还没有进入代课安排，是否现在进入代课？（是/否）")))
        handOver();
    e->accept();
}

}  // namespace daike
