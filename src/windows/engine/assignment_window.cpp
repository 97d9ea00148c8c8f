#include "windows/engine/assignment_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>

#include "engine/day_proposal.h"
#include "school/names.h"
#include "school/term_start.h"
#include "store/store.h"
#include "store/week.h"
#include "ui/change_signals.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "ui/working_day_moves.h"
#include "windows/engine/day_proposal_window.h"
#include "windows/engine/free_period_leave_window.h"
#include "windows/engine/teacher_picker_window.h"

namespace daike {

namespace {

const char* const kValueLabels[AssignmentWindow::kListValues] = {"Label85", "Label54", "Label55",
                                                                 "Label56", "Label57", "Label59"};
const char* const kListHeaders[AssignmentWindow::kListValues] = {
    "姓名", " 科任 情况", "本日总节数", "本日代课节数", "是否连课", "学期代课节数"};
// The window fits an 800x600 screen with its taskbar (inside 800x530) with both blocks of the
// candidate list in view.
const int kWindowW = 800;
const int kWindowH = 528;
// Left edge and width of the list columns inside a block: number, the six values, option.
const int kListX[8] = {0, 24, 90, 148, 190, 232, 274, 318};
const int kListW[7] = {22, 64, 56, 40, 40, 40, 40};
const int kBlockX[2] = {6, 398};
const int kListTop = 50;
const int kRowHeight = 17;

const char* const kSuggestionLabels[AssignmentWindow::kSuggestionColumns] = {
    "Label8", "Label9", "Label10", "Label11", "Label12", "Label14", "Label15"};
const char* const kSuggestionHeaders[AssignmentWindow::kSuggestionColumns] = {
    "序号", "姓名", "星期", "班级", "节次", "课目", "适合原因"};
const int kSuggestionX[8] = {6, 42, 106, 142, 194, 230, 302, 376};
const int kSuggestionW[7] = {34, 62, 34, 50, 34, 70, 70};

const char* const kInfo =
    "1. 输入或用“…”点选请假教师，选择事由，按“确定”调出当天课务。\n"
    "2. 点选一节课，下方按优先顺序列出可代课教师（绿色：本班班主任；粉色：在本班任主课）。\n"
    "3. 点选一位教师，按其旁边的“确定”并确认，即记入代课。\n"
    "4. 课务代完后按“退出”，再选择空课时间是否外出。";

}  // namespace

AssignmentWindow::AssignmentWindow(RunContext& ctx, QWidget* main) : ctx_(ctx), main_(main) {
    makeToolWindow(this, main, "Form1", QStringLiteral("教师课务安排"));
    build();
    placeWindow(*this, ctx_.platform.screen, {0, 0});

    reasonConfirmed_ = false;
    assignment::openScreen(ctx_.store);
    // The working day's week and weekday; the window follows every move of it, from here or
    // from elsewhere.
    showWeek();
    connect(week_, &QLineEdit::textEdited, this, &AssignmentWindow::weekTyped);
    auto* changes = listen(ctx_, this);
    connect(changes, &ChangeSignals::calendarChanged, this, &AssignmentWindow::followWorkingDay);
    // The several-teachers list follows the day's absences, whichever window changed them.
    connect(changes, &ChangeSignals::absencesChanged, this, [this] {
        if (severalTeachers_) showAbsentTeachers();
    });
    // The grid shows the loaded day as it stands: a lesson covered from elsewhere (修改, 一键安排,
    // a second route) is shown covered at once.
    connect(changes, &ChangeSignals::coverChanged, this, [this] {
        if (grid_ != GridState::Shown || loadedTeacher_.isEmpty()) return;
        runAction(ctx_, [this] {
            lessons_ = assignment::loadDay(ctx_.store, ss(loadedTeacher_), weekdayText());
            render();
        });
    });
    if (oneTeacherMode()) {
        pick_->show();
        typed_->show();
        teachers_->hide();
    }
    render();
}

void AssignmentWindow::build() {
    setFixedSize(kWindowW, kWindowH);

    // Who and why.
    makeLabel(this, "Label1", QStringLiteral("周次："), {8, 6, 40, 26});
    week_ = makeLineEdit(this, "Text1", {48, 6, 36, 26});
    makeLabel(this, "Label2", QStringLiteral("星期："), {92, 6, 40, 26});
    weekdayBox_ = makeLineEdit(this, "Text2", {132, 6, 28, 26});
    weekdayBox_->setReadOnly(true);
    weekdayBox_->setAlignment(Qt::AlignCenter);
    auto* up = makeButton(this, "Command2", QString(), {161, 6, 20, 13});
    up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    up->setToolTip(QStringLiteral("后一天"));
    auto* down = makeButton(this, "Command6", QString(), {161, 19, 20, 13});
    down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    down->setToolTip(QStringLiteral("前一天"));
    // The arrows inside their half-height buttons.
    for (auto* b : {up, down}) b->setIconSize(QSize(9, 9));
    connect(up, &QPushButton::clicked, this, [this] { stepWeekday(1); });
    connect(down, &QPushButton::clicked, this, [this] { stepWeekday(-1); });

    makeLabel(this, "Label3", QStringLiteral("教师："), {190, 6, 40, 26});
    teachers_ = new QComboBox(this);
    teachers_->setObjectName("Combo1");
    teachers_->setEditable(true);
    // A name typed and entered is looked up, never added: the list is the day's absences.
    teachers_->setInsertPolicy(QComboBox::NoInsert);
    teachers_->setGeometry(230, 6, 120, 26);
    typed_ = makeLineEdit(this, "Text3", {230, 6, 94, 26});
    typed_->hide();
    pick_ = makeButton(this, "Command7", QStringLiteral("…"), {326, 6, 24, 26});
    pick_->setToolTip(QStringLiteral("选择教师"));
    pick_->hide();
    connect(pick_, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { openPicker(); }); });

    makeLabel(this, "Label4", QStringLiteral("事由："), {360, 6, 40, 26});
    reasons_ = new QComboBox(this);
    reasons_->setObjectName("Combo2");
    reasons_->setEditable(true);
    reasons_->setGeometry(400, 6, 104, 26);
    for (const auto reason : week::kReasons) reasons_->addItem(qs(reason));
    reasons_->addItem(qs(week::kOtherReason));
    reasons_->setCurrentIndex(-1);
    reasons_->setEditText(QString());
    connect(reasons_, &QComboBox::textActivated, this,
            [this](const QString& t) { reasonChosen(t); });

    auto* load = makeButton(this, "Command1", QStringLiteral("确定"), {514, 6, 68, 26});
    connect(load, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { loadDay(); }); });
    auto* oneStep = makeButton(this, "Command12", QStringLiteral("一键安排"), {622, 6, 92, 26});
    oneStep->setToolTip(QStringLiteral("为当天所有待代的课一次排好代课教师，预览后确定"));
    connect(oneStep, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { proposeDay(); }); });
    auto* exit = makeButton(this, "Command8", QStringLiteral("退出"), {724, 6, 68, 26});
    connect(exit, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { exitStep(); }); });

    // The period grid.
    auto* grid = new QWidget(this);
    grid->setObjectName("periodGrid");
    grid->setGeometry(8, 38, 360, 132);
    auto* am = makeLabel(grid, "Label5", QStringLiteral("上  午"), {0, 0, 30, 62});
    auto* pm = makeLabel(grid, "Label6", QStringLiteral("下    午"), {0, 69, 30, 62});
    for (auto* l : {am, pm}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignCenter);
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    for (int r = 0; r < week::kPeriods; ++r) {
        const int y = r * 21 + (week::isMorning(r + 1) ? 0 : 6);
        auto& p = periods_[static_cast<std::size_t>(r)];
        p.number =
            makeCell(grid, arrayName("Label7", r), QString::number(r + 1) + ".", {34, y, 26, 20});
        p.cls = makeCell(grid, arrayName("Label13", r), QString(), {62, y, 66, 20});
        p.ban = makeCell(grid, arrayName("Label19", r), QStringLiteral("班"), {130, y, 22, 20});
        p.subject = makeCell(grid, arrayName("Label25", r), QString(), {154, y, 70, 20});
        p.ke = makeCell(grid, arrayName("Label31", r), QStringLiteral("课"), {226, y, 22, 20});
        p.option = makeRadio(grid, arrayName("Option1", r), QString(), {252, y + 1, 20, 18});
        p.coveredBy =
            makeLabel(grid, QStringLiteral("coveredBy_%1").arg(r), QString(), {274, y, 86, 20});
        connect(p.option, &QRadioButton::clicked, this,
                [this, r] { runAction(ctx_, [this, r] { periodClicked(r); }); });
    }

    // What the window is for; the free-text reason takes its place when shown.
    info_ = new QGroupBox(QStringLiteral("软件说明:"), this);
    info_->setObjectName("infoFrame");
    info_->setGeometry(376, 34, 416, 136);
    auto* infoText = makeLabel(info_, "infoText", QString::fromUtf8(kInfo), {8, 18, 402, 114});
    QFont small = infoText->font();
    small.setPointSize(9);
    infoText->setFont(small);
    infoText->setWordWrap(true);
    infoText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    otherReason_ = makeLineEdit(this, "Text4", {388, 58, 220, 26});
    otherReason_->setPlaceholderText(QStringLiteral("请输入事由"));
    otherReason_->hide();
    takeOther_ = makeButton(this, "Command9", QStringLiteral("确定"), {616, 58, 60, 26});
    takeOther_->hide();
    connect(takeOther_, &QPushButton::clicked, this, [this] { takeOtherReason(); });
    connect(otherReason_, &QLineEdit::returnPressed, takeOther_, &QPushButton::click);

    // The suggestion panel, over the information panel while it is shown.
    suggestionFrame_ =
        new QGroupBox(QStringLiteral("在需要代课目中搜索到更合适的代课班级："), this);
    suggestionFrame_->setObjectName("Frame5");
    suggestionFrame_->setGeometry(376, 34, 416, 136);
    setBackground(suggestionFrame_, palette().color(QPalette::Window));
    suggestionTitle_ = makeLabel(suggestionFrame_, "Label16", QString(), {6, 18, 280, 18});
    for (int c = 0; c < kSuggestionColumns; ++c)
        makeLabel(suggestionFrame_, QStringLiteral("suggestionHeader_%1").arg(c),
                  QString::fromUtf8(kSuggestionHeaders[c]),
                  {kSuggestionX[c], 38, kSuggestionW[c], 18})
            ->setAlignment(Qt::AlignCenter);
    for (int j = 0; j < 4; ++j) {
        auto& s = suggestionRows_[static_cast<std::size_t>(j)];
        const int y = 57 + j * 19;
        for (int c = 0; c < kSuggestionColumns; ++c)
            s.labels[static_cast<std::size_t>(c)] =
                makeCell(suggestionFrame_, arrayName(kSuggestionLabels[c], j), QString(),
                         {kSuggestionX[c], y, kSuggestionW[c], 18});
        s.option = makeRadio(suggestionFrame_, arrayName("Option3", j), QString(),
                             {kSuggestionX[7], y, 20, 18});
        connect(s.option, &QRadioButton::clicked, this,
                [this, j] { runAction(ctx_, [this, j] { takeSuggestion(j); }); });
    }
    moreSuggestions_ =
        makeButton(suggestionFrame_, "Command10", QStringLiteral("下一组"), {350, 14, 60, 22});
    earlierSuggestions_ =
        makeButton(suggestionFrame_, "Command11", QStringLiteral("上一组"), {288, 14, 60, 22});
    connect(moreSuggestions_, &QPushButton::clicked, this, [this] {
        suggestionOffset_ += 4;
        renderSuggestions();
    });
    connect(earlierSuggestions_, &QPushButton::clicked, this, [this] {
        suggestionOffset_ = std::max(0, suggestionOffset_ - 4);
        renderSuggestions();
    });

    // The candidate list: two blocks of sixteen rows.
    auto* frame = new QGroupBox(QStringLiteral("可代课教师名单（按优先排序）"), this);
    frame->setObjectName("Frame3");
    frame->setGeometry(8, 174, 784, 324);
    for (int b = 0; b < 2; ++b) {
        const int x0 = kBlockX[b];
        for (int c = 0; c < kListValues; ++c) {
            // Two-line headers break between words of two characters.
            const int w = (c == 1 || c == 4) ? 28 : kListW[c + 1];
            auto* h = makeLabel(frame, QStringLiteral("listHeader%1_%2").arg(b).arg(c),
                                QString::fromUtf8(kListHeaders[c]),
                                {x0 + kListX[c + 1] + (kListW[c + 1] - w) / 2, 16, w, 32});
            QFont f = h->font();
            f.setPointSize(8);
            h->setFont(f);
            h->setWordWrap(true);
            h->setAlignment(Qt::AlignCenter);
        }
    }
    for (int r = 0; r < 32; ++r) {
        const int x0 = kBlockX[r / 16];
        const int y = kListTop + (r % 16) * kRowHeight;
        auto& row = list_[static_cast<std::size_t>(r)];
        row.number = makeLabel(frame, arrayName("Label37", r), QStringLiteral("%1.").arg(r + 1),
                               {x0, y, kListW[0], kRowHeight - 1});
        row.number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (int c = 0; c < kListValues; ++c)
            row.values[static_cast<std::size_t>(c)] =
                makeCell(frame, arrayName(kValueLabels[c], r), QString(),
                         {x0 + kListX[c + 1], y, kListW[c + 1], kRowHeight - 1});
        row.option =
            makeRadio(frame, arrayName("Option2", r), QString(), {x0 + kListX[7], y, 18, 17});
        connect(row.option, &QRadioButton::clicked, this,
                [this, r] { runAction(ctx_, [this, r] { candidateClicked(r); }); });
    }
    confirm_ = makeButton(frame, "Command3", QStringLiteral("确定"), {0, 0, 44, 22});
    confirm_->hide();
    connect(confirm_, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { confirm(); }); });

    previousPage_ = makeButton(this, "Command5", QStringLiteral("上一页"), {636, 501, 76, 25});
    nextPage_ = makeButton(this, "Command4", QStringLiteral("下一页"), {716, 501, 76, 25});
    previousPage_->hide();
    nextPage_->hide();
    connect(nextPage_, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { turnPage(1); }); });
    connect(previousPage_, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { turnPage(-1); }); });
}

bool AssignmentWindow::oneTeacherMode() const {
    return ctx_.values.代课方式 == 1;
}

QString AssignmentWindow::reason() const {
    return reasons_->currentText();
}

std::string AssignmentWindow::weekdayText() const {
    return std::to_string(ctx_.day.weekday());
}

void AssignmentWindow::showAbsentTeachers() {
    // The day's waiting teachers, as the store holds them; the name being typed stays.
    const QString typed = teachers_->currentText();
    QStringList names;
    for (const auto& n : dayplan::waitingTeachers(ctx_.store, weekdayText())) names << qs(n);
    if (names == absentTeachers()) return;
    teachers_->clear();
    teachers_->addItems(names);
    teachers_->setEditText(typed);
}

void AssignmentWindow::startSeveralTeachers(int weekday) {
    teachers_->setEditText(QString());
    // 重代 from 修改 works on the records' own day.
    if (week::isWeekday(weekday) && weekday != ctx_.day.weekday())
        runAction(ctx_, [&] { moveWorkingDay(ctx_, ctx_.day.withWeekday(weekday)); });
    severalTeachers_ = true;
    showAbsentTeachers();
    pick_->hide();
    typed_->hide();
    teachers_->show();
    render();
}

QStringList AssignmentWindow::absentTeachers() const {
    QStringList names;
    for (int i = 0; i < teachers_->count(); ++i) names << teachers_->itemText(i);
    return names;
}

bool AssignmentWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        if (pickerPending_ && picker_) {
            // The picker is still open for this window: bring it back to the front.
            pickerPending_ = false;
            showPicker();
        } else {
            if (oneTeacherMode()) {
                teachers_->hide();
                typed_->show();
                pick_->show();
            }
        }
    }
    return QWidget::event(e);
}

void AssignmentWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    pickerPending_ = false;
    if (main_) {
        main_->show();
        main_->raise();
    }
}

// ---- Painting -------------------------------------------------------------------------------

void AssignmentWindow::render() {
    weekdayBox_->setText(QString::number(ctx_.day.weekday()));
    renderGrid();
    renderList();
    renderSuggestions();
}

void AssignmentWindow::renderGrid() {
    const auto grid = assignment::gridOf(lessons_);
    for (int r = 0; r < week::kPeriods; ++r) {
        auto& p = periods_[static_cast<std::size_t>(r)];
        const auto& period = grid[static_cast<std::size_t>(r)];
        const bool shown = grid_ == GridState::Shown;
        // Two lessons in one period show side by side ("一(1)/一(2)"); a click offers the first
        // still open.
        p.cls->setText(shown ? qs(period.classes()) : QString());
        p.subject->setText(shown ? qs(period.subjects()) : QString());
        // A covered lesson says by whom, so it does not look like a free period.
        const auto coveredBy = shown ? period.coveredBy() : std::string();
        p.coveredBy->setText(coveredBy.empty() ? QString()
                                               : QStringLiteral("代：") + qs(coveredBy));
        p.coveredBy->setEnabled(false);
        for (auto* l : {p.cls, p.subject, p.coveredBy}) fitText(l);
        // Which parts of the row are live: a free period greys its number and the 班/课 marks
        // and offers nothing; a lesson dealt with greys the whole row.
        bool labels = true, marks = true, option = true;
        switch (grid_) {
            case GridState::Blank:
                break;
            case GridState::Shown:
                if (period.free()) {
                    marks = option = false;
                } else if (period.dealtWith()) {
                    labels = marks = option = false;
                }
                break;
            case GridState::NoLessons:
                labels = marks = option = false;
                break;
            case GridState::Withdrawn:
                option = false;
                break;
        }
        p.number->setEnabled(marks);
        p.ban->setEnabled(marks);
        p.ke->setEnabled(marks);
        p.cls->setEnabled(labels);
        p.subject->setEnabled(labels);
        p.option->setEnabled(option);
        if (r == selectedPeriod_)
            p.option->setChecked(true);
        else
            clearRadio(p.option);
        for (auto* l : p.labels())
            setBackground(l, r == selectedPeriod_ ? colors::selected : colors::neutral);
    }
}

void AssignmentWindow::renderList() {
    const int rows = static_cast<int>(ranked_.size());
    const int shown = std::clamp(rows - pageOffset_, 0, assignment::kPageRows);
    for (int r = 0; r < assignment::kPageRows; ++r) {
        auto& row = list_[static_cast<std::size_t>(r)];
        row.number->setText(QStringLiteral("%1.").arg(pageOffset_ + r + 1));
        const ranking::Candidate* c =
            r < shown ? &ranked_[static_cast<std::size_t>(pageOffset_ + r)] : nullptr;
        const QString texts[kListValues] = {c ? qs(c->name) : QString(),
                                            c ? qs(c->affinity) : QString(),
                                            c ? qs(c->lessonsToday.text()) : QString(),
                                            c ? qs(c->coversToday.text()) : QString(),
                                            c ? qs(c->adjacent) : QString(),
                                            c ? qs(c->coversThisTerm.text()) : QString()};
        // Green: head teacher of the class; pink: teaches a main subject there. Once a row is
        // chosen only that row stands out.
        QColor colour = colors::neutral;
        if (selectedRow_ >= 0)
            colour = r == selectedRow_ ? colors::selected : colors::neutral;
        else if (c && c->affinity.starts_with("班"))
            colour = colors::headTeacher;
        else if (c && !c->affinity.empty())
            colour = colors::mainSubject;
        for (int k = 0; k < kListValues; ++k) {
            row.values[static_cast<std::size_t>(k)]->setText(texts[k]);
            fitText(row.values[static_cast<std::size_t>(k)]);
            setBackground(row.values[static_cast<std::size_t>(k)], colour);
        }
        if (r == selectedRow_)
            row.option->setChecked(true);
        else
            clearRadio(row.option);
    }
    const auto page = assignment::pageAt(rows, pageOffset_);
    previousPage_->setVisible(rows > 0 && page.previous);
    nextPage_->setVisible(rows > 0 && page.next);
    if (selectedRow_ >= 0 && selectedPeriod_ >= 0) {
        // Beside the chosen row: 300 twips right of its button and 100 twips up.
        const auto* option = list_[static_cast<std::size_t>(selectedRow_)].option;
        confirm_->move(option->x() + 20, option->y() - 3);
        confirm_->show();
        confirm_->raise();
    } else {
        confirm_->hide();
    }
}

void AssignmentWindow::renderSuggestions() {
    const int n = static_cast<int>(suggestions_.size());
    suggestionOffset_ = std::clamp(suggestionOffset_, 0, std::max(0, (n - 1) / 4 * 4));
    if (suggestionsShown_)
        suggestionTitle_->setText(suggestionsFor_ + QStringLiteral(" 老师更适合代以下课目"));
    for (int j = 0; j < 4; ++j) {
        auto& s = suggestionRows_[static_cast<std::size_t>(j)];
        const int k = suggestionOffset_ + j;
        clearRadio(s.option);
        const bool here = suggestionsShown_ && k < n;
        for (auto* l : s.labels) l->setVisible(here);
        s.option->setVisible(here);
        if (!here) continue;
        const auto& g = suggestions_[static_cast<std::size_t>(k)];
        const QString texts[kSuggestionColumns] = {QString::number(k + 1) + QStringLiteral("、"),
                                                   qs(g.absent),
                                                   qs(g.weekday),
                                                   qs(g.cls),
                                                   qs(g.period),
                                                   qs(g.subject),
                                                   qs(g.affinity)};
        for (int c = 0; c < kSuggestionColumns; ++c) {
            s.labels[static_cast<std::size_t>(c)]->setText(texts[c]);
            fitText(s.labels[static_cast<std::size_t>(c)]);
        }
    }
    moreSuggestions_->setVisible(suggestionOffset_ + 4 < n);
    earlierSuggestions_->setVisible(suggestionOffset_ > 0);
    // The suggestions and the free-text reason each take the place of the information panel.
    suggestionFrame_->setVisible(suggestionsShown_);
    if (suggestionsShown_) suggestionFrame_->raise();
    otherReason_->setVisible(otherReasonShown_);
    takeOther_->setVisible(otherReasonShown_);
    if (otherReasonShown_) {
        otherReason_->raise();
        takeOther_->raise();
    }
    info_->setVisible(!suggestionsShown_ && !otherReasonShown_);
}

// ---- Handlers -------------------------------------------------------------------------------

void AssignmentWindow::stepWeekday(int delta) {
    // The working day moves (asking first when today's cover would go); followWorkingDay
    // repaints.
    runAction(ctx_, [&] { moveWorkingDay(ctx_, ctx_.day.stepped(delta)); });
}

void AssignmentWindow::followWorkingDay() {
    showWeek();
    // The list is the waiting teachers of the working day's weekday.
    if (severalTeachers_) showAbsentTeachers();
    // A day loaded for another weekday may not be covered under this one.
    if (grid_ == GridState::Shown && loadedWeekday_ != ctx_.day.weekday())
        leaveDay();
    else
        render();
}

void AssignmentWindow::leaveDay() {
    // The grid shows the day that was loaded; none of its lessons may be covered under another
    // weekday, nor a candidate of its slot confirmed, until the day is loaded again.
    grid_ = GridState::NoLessons;
    lessons_.clear();
    selectedPeriod_ = -1;
    selectedLesson_.reset();
    selectedRow_ = -1;
    ranked_.clear();
    suggestionsShown_ = false;
    render();
}

void AssignmentWindow::weekTyped(const QString& text) {
    // A week typed by hand moves the working day, as a weekday stepped here does. Text that is
    // not a week moves nothing: a cover always carries the working day's week.
    bool ok = false;
    const int week = text.trimmed().toInt(&ok);
    if (!ok || week <= 0 || (ctx_.day.weekKnown() && week == ctx_.day.week())) return;
    bool moved = false;
    runAction(ctx_, [&] { moved = moveWorkingDay(ctx_, ctx_.day.withWeek(week)); });
    if (!moved) {
        week_->setText(qs(ctx_.day.day().weekText()));
    }
}

void AssignmentWindow::showWeek() {
    const QString shown = qs(ctx_.day.day().weekText());
    if (ctx_.day.weekKnown() && week_->text() != shown) week_->setText(shown);
}

void AssignmentWindow::showPicker() {
    auto* picker = showOrMake<TeacherPickerWindow>(
        main_, "Form8", [this] { return new TeacherPickerWindow(ctx_, main_); });
    picker->answerTo(this, &AssignmentWindow::teacherPicked);
    picker_ = picker;
}

void AssignmentWindow::teacherPicked(const QString& name) {
    pickerPending_ = false;
    typed_->setText(name);
    placePointer(ctx_.platform, {160, 195}, {280, 295});
}

void AssignmentWindow::openPicker() {
    pickerPending_ = true;
    showPicker();
    // Another teacher is being chosen: no lesson of the grid may be covered under that name
    // until the day is loaded again.
    grid_ = GridState::Withdrawn;
    selectedPeriod_ = -1;
    selectedLesson_.reset();
    render();
}

void AssignmentWindow::reasonChosen(const QString& text) {
    if (text != qs(week::kOtherReason)) return;
    otherReasonShown_ = true;
    render();
    otherReason_->setFocus();
}

void AssignmentWindow::takeOtherReason() {
    reasons_->setEditText(otherReason_->text());
    otherReasonShown_ = false;
    render();
}

void AssignmentWindow::loadDay() {
    selectedPeriod_ = -1;
    selectedLesson_.reset();
    // Names are stored as typed, blanks included: the name box is matched against them.
    if (oneTeacherMode())
        teachers_->setEditText(qs(names::storedTeacherName(ctx_.store, ss(typed_->text()))));
    const QString teacher = teachers_->currentText();
    if (!ctx_.day.weekKnown() || teacher.isEmpty() || reason().isEmpty()) {
        render();
        ctx_.platform.boxes.ok(QStringLiteral("您还内容没有填写完整,请确认！"));
        return;
    }
    if (!reasonConfirmed_) {
        reasonConfirmed_ = true;
        if (!ctx_.platform.boxes.yesNo(QStringLiteral("您是否确定代课事由为") + "“" + reason() +
                                       "”！")) {
            reasons_->setEditText(QString());
            render();
            return;
        }
    }
    selectedRow_ = -1;
    ranked_.clear();
    suggestionsShown_ = false;
    loadedTeacher_ = teacher;
    loadedWeekday_ = ctx_.day.weekday();
    lessons_ = assignment::loadDay(ctx_.store, ss(teacher), weekdayText());
    if (lessons_.empty()) {
        // The grid must not offer the previous teacher's lessons under this teacher's name.
        grid_ = GridState::NoLessons;
        render();
        activateWindow();
        ctx_.platform.boxes.ok(QStringLiteral("该教师本日无课务安排！"));
        return;
    }
    grid_ = GridState::Shown;
    render();
}

void AssignmentWindow::periodClicked(int i, std::optional<assignment::Lesson> lesson) {
    selectedPeriod_ = i;
    selectedRow_ = -1;
    // The lesson ranked and covered: the one asked for, else the first of the period still
    // open.
    if (grid_ != GridState::Shown)
        lesson.reset();
    else if (!lesson)
        lesson = assignment::gridOf(lessons_)[static_cast<std::size_t>(i)].open();
    selectedLesson_ = lesson;
    const std::string cls = lesson ? lesson->cls : std::string();
    const auto result = ranking::rank(ctx_.store, weekdayText(), i + 1, cls);
    ranked_ = result.rows;
    suggestionsShown_ = false;
    if (ranked_.empty()) {
        render();
        ctx_.platform.boxes.okCancel(QStringLiteral("无可代教师"));
    } else {
        pageOffset_ = assignment::pageAt(static_cast<int>(ranked_.size()), pageOffset_).first;
        render();
        // Each missing teacher is named once while the window is open.
        bool unreported = false;
        for (const auto& n : result.missing)
            unreported = reportedMissing_.insert(n).second || unreported;
        if (unreported)
            ctx_.platform.boxes.ok(
                QStringLiteral("以下教师在“教师姓名”“每日节数表”或“代课节数”中缺少记录，"
                               "其节数按0计算：") +
                qs(assignment::joinNames(result.missing)) +
                QStringLiteral("。请先运行“数据初始化”→“期初基本操作”中的“空课教师初始化”、"
                               "“每日节数初始化”和“代课节数初始化”。"));
    }
    placePointer(ctx_.platform, {510, 125}, {627, 210});
}

void AssignmentWindow::turnPage(int delta) {
    pageOffset_ = std::max(0, pageOffset_ + delta * assignment::kPageRows);
    selectedRow_ = -1;
    ranked_ = ranking::rankedRows(ctx_.store);
    pageOffset_ = assignment::pageAt(static_cast<int>(ranked_.size()), pageOffset_).first;
    render();
}

void AssignmentWindow::candidateClicked(int r) {
    // An empty row names nobody: choosing it would record a cover by no one.
    const int k = pageOffset_ + r;
    if (selectedPeriod_ < 0 || k >= static_cast<int>(ranked_.size())) {
        render();
        return;
    }
    selectedRow_ = r;
    suggestionsShown_ = false;
    render();
}

void AssignmentWindow::confirm() {
    if (selectedRow_ < 0 || selectedPeriod_ < 0) return;
    placePointer(ctx_.platform, {360, 330}, {475, 413});
    const auto& chosen = ranked_[static_cast<std::size_t>(pageOffset_ + selectedRow_)];
    if (!assignment::searchesForBetterLessons(chosen.affinity)) {
        recordCover();
        return;
    }
    suggestions_ =
        assignment::findSuggestions(ctx_.store, chosen.name, weekdayText(), selectedPeriod_ + 1);
    if (!suggestions_.empty()) {
        suggestionOffset_ = 0;
        suggestionsFor_ = qs(chosen.name);
        suggestionsShown_ = true;
        render();
        return;
    }
    recordCover();
}

void AssignmentWindow::takeSuggestion(int j) {
    const int k = suggestionOffset_ + j;
    if (k >= static_cast<int>(suggestions_.size())) return;
    const QString absent = qs(suggestions_[static_cast<std::size_t>(k)].absent);
    suggestionsShown_ = false;
    teachers_->setEditText(absent);
    // In the one-teacher mode the name box is what loading reads.
    if (oneTeacherMode()) typed_->setText(absent);
    // His lesson is recorded under his own reason of the day; while he has none yet the
    // operator is asked whether the reason shown is his too.
    if (const auto reason = assignment::reasonOfToday(ctx_.store, ss(absent))) {
        reasons_->setEditText(qs(*reason));
        reasonConfirmed_ = true;
    } else if (absent != loadedTeacher_) {
        reasonConfirmed_ = false;
    }
    const auto wanted = suggestions_[static_cast<std::size_t>(k)];
    const int period = selectedPeriod_;
    loadDay();
    if (period < 0 || grid_ != GridState::Shown) return;
    // The suggested lesson itself, should that teacher have two lessons in the period.
    const auto lesson = assignment::gridOf(lessons_)[static_cast<std::size_t>(period)].open(
        wanted.cls, wanted.subject);
    if (!lesson) return;
    periodClicked(period, lesson);
}

void AssignmentWindow::recordCover() {
    const auto lesson = selectedLesson_;
    assignment::Cover c;
    c.absent = ss(loadedTeacher_);
    c.reason = ss(reason());
    c.substitute = ranked_[static_cast<std::size_t>(pageOffset_ + selectedRow_)].name;
    c.week = ctx_.day.day().weekText();
    c.weekdayText = weekdayText();
    c.cls = lesson ? lesson->cls : std::string();
    c.subject = lesson ? lesson->subject : std::string();
    c.period = selectedPeriod_ + 1;
    // With two lessons in the period the question names the class and subject: the operator
    // must know which of them is being given away.
    const bool twoInPeriod =
        lesson && assignment::gridOf(lessons_)[static_cast<std::size_t>(selectedPeriod_)].several();
    const QString which =
        twoInPeriod ? qs(c.cls) + QStringLiteral("班") + qs(c.subject) + QStringLiteral("课")
                    : QStringLiteral("该节课");
    const bool ok = ctx_.platform.boxes.okCancel(
        QStringLiteral("是否确定让 ") + "“" + qs(c.substitute) + "”" + QStringLiteral(" 老师代 ") +
        "“" + qs(c.absent) + "”" + QStringLiteral("  老师的") + which + QStringLiteral("？"));
    if (ok) {
        assignment::recordCover(ctx_.store, c, !oneTeacherMode());
    }
    loadDay();
    placePointer(ctx_.platform, {205, 345}, {330, 436});
    finishDay();
}

void AssignmentWindow::finishDay() {
    if (grid_ == GridState::Shown && !assignment::dayFinished(lessons_)) return;
    reasonConfirmed_ = false;
    savedReason_ = reason();
    reasons_->setEditText(QString());
    if (severalTeachers_) {
        showAbsentTeachers();
        teachers_->setEditText(QString());
    }
    if (teachers_->count() == 0) {
        placePointer(ctx_.platform, {360, 330}, {475, 413});
        completionAnswer_ =
            ctx_.platform.boxes.okCancel(QStringLiteral("教师代课已完成，是否确定<退出> ")) ? 1 : 0;
        if (completionAnswer_ == 1) exitStep();
    }
}

void AssignmentWindow::exitStep() {
    assignment::releaseHeldBack(ctx_.store);
    if (oneTeacherMode()) {
        if (freePeriods_ && freePeriods_->isVisible()) {
            freePeriods_->raise();
            freePeriods_->activateWindow();
            return;
        }
        FreePeriodLeaveWindow::Day day;
        day.teacher = qs(names::storedTeacherName(ctx_.store, ss(typed_->text())));
        if (grid_ == GridState::Shown) {
            const auto atExit = assignment::dayAtExit(lessons_);
            day.lesson = atExit.lesson;
            day.covered = atExit.covered;
        }
        reasons_->setEditText(savedReason_);
        completionAnswer_ = 0;
        auto* leave = new FreePeriodLeaveWindow(ctx_, main_, day);
        freePeriods_ = leave;
        connect(leave, &FreePeriodLeaveWindow::recorded, this, [this] {
            teachers_->setEditText(QString());
            teachers_->show();
            typed_->hide();
            typed_->clear();
            pick_->hide();
            ctx_.values.代课方式 = 0;
            close();
            emit dayFinished();
        });
        leave->show();
        leave->activateWindow();
    } else {
        completionAnswer_ = 0;
        close();
        emit dayFinished();
    }
}

void AssignmentWindow::proposeDay() {
    DayProposalWindow::Request r;
    r.severalTeachers = !oneTeacherMode();
    r.week = qs(ctx_.day.day().weekText());
    r.weekday = QString::number(ctx_.day.weekday());
    if (oneTeacherMode()) {
        // The teacher's day is loaded and the reason confirmed first, as for one lesson.
        if (!reasonConfirmed_ || grid_ != GridState::Shown ||
            loadedTeacher_ != typed_->text().trimmed())
            loadDay();
        if (!reasonConfirmed_ || grid_ != GridState::Shown || reason().isEmpty()) return;
        r.lessons = dayplan::teacherLessons(ctx_.store, ss(loadedTeacher_), weekdayText());
    } else {
        if (r.week.isEmpty()) {
            ctx_.platform.boxes.ok(QStringLiteral("您还内容没有填写完整,请确认！"));
            return;
        }
        r.lessons = dayplan::queuedLessons(ctx_.store, weekdayText());
    }
    if (reasonConfirmed_ && !loadedTeacher_.isEmpty() && !reason().isEmpty())
        r.reasons[ss(loadedTeacher_)] = ss(reason());
    if (r.lessons.empty()) {
        ctx_.platform.boxes.ok(QStringLiteral("没有需要安排代课的课务！"));
        return;
    }
    auto* w = new DayProposalWindow(ctx_, this, std::move(r));
    connect(w, &DayProposalWindow::confirmed, this, [this] { dayConfirmed(); });
    w->show();
    w->activateWindow();
}

void AssignmentWindow::dayConfirmed() {
    if (oneTeacherMode()) {
        loadDay();
        finishDay();
        return;
    }
    // Several teachers: each whose queued lessons are all dealt with leaves the list.
    if (reasonConfirmed_ && grid_ == GridState::Shown) loadDay();
    showAbsentTeachers();
    render();
    if (teachers_->count() == 0) {
        reasonConfirmed_ = false;
        teachers_->setEditText(QString());
        placePointer(ctx_.platform, {360, 330}, {475, 413});
        completionAnswer_ =
            ctx_.platform.boxes.okCancel(QStringLiteral("教师代课已完成，是否确定<退出> ")) ? 1 : 0;
        if (completionAnswer_ == 1) exitStep();
    }
}

}  // namespace daike
