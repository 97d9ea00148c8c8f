#include "windows/engine/assignment_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "store/safekeeping.h"
#include "store/week.h"
#include "ui/backups.h"
#include "ui/change_signals.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "ui/working_day_moves.h"
#include "windows/engine/day_proposal_window.h"
#include "windows/engine/free_period_leave_window.h"
#include "windows/engine/teacher_picker_window.h"

namespace daike {

using assignment::GridState;

namespace {

// "宋波　今日 1 2 ■ 4 □ 6（■上课 □代课）　本周代课 2 节　本学期代课 5 节", and the limit.
QString candidateLine(const ranking::Candidate& c, const coverload::Standing& st) {
    QString line = qs(c.name) + QStringLiteral("　今日 ") + qs(coverload::strip(st.load)) +
                   QStringLiteral("（■上课 □代课）　本周代课 %1 节　本学期代课 %2 节")
                       .arg(st.load.week)
                       .arg(st.load.term);
    if (st.limit != coverload::Limit::None)
        line += QStringLiteral("　") + qs(coverload::limitText(st.limit));
    return line;
}

QString candidateTip(const ranking::Candidate& c, const coverload::Standing& st) {
    QString tip = candidateLine(c, st);
    if (st.limit != coverload::Limit::None && !c.affinity.empty())
        tip += QStringLiteral("\n科任情况：") + qs(c.affinity);
    return tip;
}

}  // namespace

// The session's questions go through the message boxes, with the window painted first as it
// stands; its pointer spots are places on this window.
class AssignmentWindow::Talk : public assignment::Operator {
  public:
    explicit Talk(AssignmentWindow& w) : w_(w) {}
    void tell(const std::string& text) override {
        w_.render();
        w_.ctx_.platform.boxes.ok(qs(text));
    }
    bool yesNo(const std::string& text) override {
        w_.render();
        return w_.ctx_.platform.boxes.yesNo(qs(text));
    }
    bool okCancel(const std::string& text) override {
        w_.render();
        return w_.ctx_.platform.boxes.okCancel(qs(text));
    }
    void point(assignment::Spot spot) override {
        using assignment::Spot;
        const auto& p = w_.ctx_.platform;
        switch (spot) {
            case Spot::ReasonBox:
                return placePointer(p, {160, 195}, {280, 295});
            case Spot::CandidateList:
                return placePointer(p, {510, 125}, {627, 210});
            case Spot::ConfirmButton:
                return placePointer(p, {360, 330}, {475, 413});
            case Spot::PeriodGrid:
                return placePointer(p, {205, 345}, {330, 436});
        }
    }

  private:
    AssignmentWindow& w_;
};

AssignmentWindow::AssignmentWindow(RunContext& ctx, QWidget* main, Mode mode)
    : ctx_(ctx),
      main_(main),
      talk_(std::make_unique<Talk>(*this)),
      session_(ctx.store, ctx.day, *talk_, mode) {
    makeToolWindow(this, main, "Form1", QStringLiteral("教师课务安排"));
    build();
    placeWindow(*this, ctx_.platform.screen, {0, 0});

    // The working day's week and weekday; the window follows every move of it, from here or
    // from elsewhere.
    showWeek();
    connect(week_, &QLineEdit::textEdited, this, &AssignmentWindow::weekTyped);
    auto* changes = listen(ctx_, this);
    connect(changes, &ChangeSignals::calendarChanged, this, &AssignmentWindow::followWorkingDay);
    // The list follows the day's absences, and the grid shows the loaded day as it stands (a
    // lesson covered from elsewhere is shown covered at once), whichever window changed them.
    connect(changes, &ChangeSignals::absencesChanged, this, [this] {
        if (session_.absencesChanged()) render();
    });
    connect(changes, &ChangeSignals::coverChanged, this, [this] {
        runAction(ctx_, [this] { session_.coverChanged(); });
        render();
    });
    render();
}

AssignmentWindow::~AssignmentWindow() = default;

void AssignmentWindow::act(const std::function<void()>& action) {
    runAction(ctx_, action);
    render();
}

void AssignmentWindow::coverOneTeacher() {
    session_.setMode(Mode::OneTeacher);
    render();
}

void AssignmentWindow::startSeveralTeachers(int weekday) {
    // 重代 from 修改 works on the records' own day.
    if (week::isWeekday(weekday) && weekday != ctx_.day.weekday())
        runAction(ctx_, [&] { moveWorkingDay(ctx_, ctx_.day.withWeekday(weekday)); });
    act([this] { session_.startSeveralTeachers(); });
}

QStringList AssignmentWindow::absentTeachers() const {
    QStringList names;
    for (const auto& n : session_.absentList()) names << qs(n);
    return names;
}

bool AssignmentWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && pickerPending_ && picker_) {
        // The picker is still open for this window: bring it back to the front.
        pickerPending_ = false;
        showPicker();
    }
    return QWidget::event(e);
}

void AssignmentWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    pickerPending_ = false;
    runAction(ctx_, [this] { session_.closed(); });
    if (main_) {
        main_->show();
        main_->raise();
    }
}

// ---- Painting -------------------------------------------------------------------------------

void AssignmentWindow::render() {
    painting_ = true;
    renderBoxes();
    painting_ = false;
    renderGrid();
    renderList();
    renderSuggestions();
    renderSwaps();
    // Enter confirms the chosen candidate once there is one, else loads the teacher's day.
    setMainButton(
        this, session_.selectedRow() >= 0 && session_.selectedPeriod() >= 0 ? confirm_ : loadDay_);
}

void AssignmentWindow::renderBoxes() {
    weekdayBox_->setText(QString::number(ctx_.day.weekday()));
    const bool one = session_.oneTeacher();
    typed_->setVisible(one);
    pick_->setVisible(one);
    teachers_->setVisible(!one);
    const QStringList listed = absentTeachers();
    QStringList items;
    for (int i = 0; i < teachers_->count(); ++i) items << teachers_->itemText(i);
    if (items != listed) {
        teachers_->clear();
        teachers_->addItems(listed);
    }
    const QString name = qs(session_.name());
    if (typed_->text() != name) typed_->setText(name);
    if (teachers_->currentText() != name) teachers_->setEditText(name);
    const QString reason = qs(session_.reason());
    if (reasons_->currentText() != reason) reasons_->setEditText(reason);
    const QString other = qs(session_.otherReason());
    if (otherReason_->text() != other) otherReason_->setText(other);
}

void AssignmentWindow::renderGrid() {
    const int selected = session_.selectedPeriod();
    for (int r = 0; r < week::kPeriods; ++r) {
        auto& p = periods_[static_cast<std::size_t>(r)];
        const auto v = session_.period(r);
        p.cls->setText(qs(v.classes));
        p.subject->setText(qs(v.subjects));
        p.coveredBy->setText(qs(v.coveredBy));
        p.coveredBy->setEnabled(false);
        for (auto* l : {p.cls, p.subject, p.coveredBy}) fitText(l);
        for (auto* l : {p.number, p.ban, p.ke}) l->setEnabled(v.marks);
        p.cls->setEnabled(v.labels);
        p.subject->setEnabled(v.labels);
        p.option->setEnabled(v.option);
        if (r == selected)
            p.option->setChecked(true);
        else
            clearRadio(p.option);
        for (auto* l : p.labels())
            setBackground(l, r == selected ? colors::selected : colors::neutral);
    }
}

void AssignmentWindow::renderList() {
    using assignment::Highlight;
    const int selected = session_.selectedRow();
    for (int r = 0; r < assignment::kPageRows; ++r) {
        auto& row = list_[static_cast<std::size_t>(r)];
        row.number->setText(QStringLiteral("%1.").arg(session_.pageOffset() + r + 1));
        const auto* c = session_.candidateAt(r);
        const auto* st = session_.standingAt(r);
        const bool limited = st && st->limit != coverload::Limit::None;
        // At a limit the row says so where the affinity stands; the affinity goes to the tip.
        const QString texts[kListValues] = {
            c ? qs(c->name) : QString(),
            c ? limited ? qs(coverload::limitText(st->limit)) : qs(c->affinity) : QString(),
            c ? qs(c->lessonsToday.text()) : QString(),
            c ? qs(c->coversToday.text()) : QString(),
            c ? qs(c->adjacent) : QString(),
            c ? qs(c->coversThisTerm.text()) : QString()};
        const auto h = session_.highlight(r);
        const QColor colour = h == Highlight::Selected      ? colors::selected
                              : h == Highlight::HeadTeacher ? colors::headTeacher
                              : h == Highlight::MainSubject ? colors::mainSubject
                                                            : colors::neutral;
        const QString tip = c && st ? candidateTip(*c, *st) : QString();
        for (int k = 0; k < kListValues; ++k) {
            auto* value = row.values[static_cast<std::size_t>(k)];
            value->setText(texts[k]);
            fitText(value);
            setBackground(value, colour);
            setTextColour(value, limited ? colors::limited : palette().color(QPalette::WindowText));
            // A text cut short shows whole first, then the candidate's day.
            const QString whole = value->toolTip();
            value->setToolTip(whole.isEmpty() || tip.isEmpty() ? whole + tip : whole + "\n" + tip);
        }
        if (r == selected)
            row.option->setChecked(true);
        else
            clearRadio(row.option);
    }
    const auto* chosen = session_.candidateAt(selected);
    const auto* standing = session_.standingAt(selected);
    candidateDay_->setText(chosen && standing ? candidateLine(*chosen, *standing) : QString());
    const int rows = static_cast<int>(session_.ranked().size());
    const auto page = assignment::pageAt(rows, session_.pageOffset());
    previousPage_->setVisible(rows > 0 && page.previous);
    nextPage_->setVisible(rows > 0 && page.next);
    if (selected >= 0 && session_.selectedPeriod() >= 0) {
        // Beside the chosen row: 300 twips right of its button and 100 twips up.
        const auto* option = list_[static_cast<std::size_t>(selected)].option;
        confirm_->move(option->x() + 20, option->y() - 3);
        confirm_->show();
        confirm_->raise();
    } else {
        confirm_->hide();
    }
}

void AssignmentWindow::renderSuggestions() {
    const auto& suggestions = session_.suggestions();
    const int n = static_cast<int>(suggestions.size());
    const int offset = session_.suggestionOffset();
    const bool shownNow = session_.suggestionsShown();
    const bool other = session_.otherReasonShown();
    if (shownNow)
        suggestionTitle_->setText(qs(session_.suggestionsFor()) +
                                  QStringLiteral(" 老师更适合代以下课目"));
    for (int j = 0; j < 4; ++j) {
        auto& s = suggestionRows_[static_cast<std::size_t>(j)];
        const int k = offset + j;
        clearRadio(s.option);
        const bool here = shownNow && k < n;
        for (auto* l : s.labels) l->setVisible(here);
        s.option->setVisible(here);
        if (!here) continue;
        const auto& g = suggestions[static_cast<std::size_t>(k)];
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
    moreSuggestions_->setVisible(offset + 4 < n);
    earlierSuggestions_->setVisible(offset > 0);
    // The suggestions and the free-text reason each take the place of the information panel.
    suggestionFrame_->setVisible(shownNow);
    if (shownNow) suggestionFrame_->raise();
    otherReason_->setVisible(other);
    takeOther_->setVisible(other);
    if (other) {
        otherReason_->raise();
        takeOther_->raise();
    }
    info_->setVisible(!shownNow && !other);
}

void AssignmentWindow::renderSwaps() {
    const bool shown = session_.swapsShown() && !session_.otherReasonShown();
    swapFrame_->setVisible(shown);
    if (!shown) return;
    info_->hide();
    swapFrame_->raise();
    const auto& all = session_.swaps();
    const int offset = session_.swapOffset();
    swapTitle_->setText(QStringLiteral("%1 %2 共%3位可调：")
                            .arg(qs(week::periodName(session_.selectedPeriod() + 1)),
                                 qs(session_.period(session_.selectedPeriod()).classes))
                            .arg(all.size()));
    for (int j = 0; j < assignment::Session::kSwapRows; ++j) {
        auto& row = swapRows_[static_cast<std::size_t>(j)];
        clearRadio(row.option);
        const auto* c = session_.swapAt(j);
        row.option->setVisible(c != nullptr);
        row.text->setVisible(c != nullptr);
        if (!c) continue;
        row.option->setChecked(session_.swapRow() == j);
        QString text = QStringLiteral("%1. %2 %3　%4")
                           .arg(offset + j + 1)
                           .arg(qs(c->colleague), qs(c->subject), qs(c->when));
        if (!c->affinity.empty()) text += QStringLiteral("　") + qs(c->affinity);
        row.text->setText(text);
        fitText(row.text);
    }
    moreSwaps_->setVisible(static_cast<int>(all.size()) > assignment::Session::kSwapRows);
    confirmSwap_->setEnabled(session_.swapRow() >= 0);
}

std::string AssignmentWindow::now() const {
    return safekeeping::shown(officeNow(ctx_.platform)).substr(0, 16);  // "2026-12-09 08:15"
}

// ---- Handlers -------------------------------------------------------------------------------

void AssignmentWindow::stepWeekday(int delta) {
    // The working day moves (asking first when today's cover would go); followWorkingDay
    // repaints.
    runAction(ctx_, [&] { moveWorkingDay(ctx_, ctx_.day.stepped(delta)); });
}

void AssignmentWindow::followWorkingDay() {
    showWeek();
    runAction(ctx_, [this] { session_.workingDayMoved(); });
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
    if (!moved) week_->setText(qs(ctx_.day.day().weekText()));
}

void AssignmentWindow::showWeek() {
    const QString shown = qs(ctx_.day.day().weekText());
    if (ctx_.day.weekKnown() && week_->text() != shown) week_->setText(shown);
}

void AssignmentWindow::showPicker() {
    auto* picker = showOrMake<TeacherPickerWindow>(
        main_, "Form8", [this] { return new TeacherPickerWindow(ctx_, main_); });
    picker->answerTo(this, [this](const QString& name) {
        pickerPending_ = false;
        act([&] { session_.teacherPicked(ss(name)); });
    });
    picker_ = picker;
}

void AssignmentWindow::openPicker() {
    pickerPending_ = true;
    showPicker();
    session_.withdraw();
}

void AssignmentWindow::after(assignment::Next next) {
    render();
    if (next == assignment::Next::Leave) exitStep();
}

void AssignmentWindow::exitStep() {
    const auto leave = session_.exitStep();
    if (!leave) {
        close();
        emit dayFinished();
        return;
    }
    if (freePeriods_ && freePeriods_->isVisible()) {
        freePeriods_->raise();
        freePeriods_->activateWindow();
        return;
    }
    FreePeriodLeaveWindow::Day day;
    day.teacher = qs(leave->teacher);
    day.lesson = leave->day.lesson;
    day.covered = leave->day.covered;
    auto* form10 = new FreePeriodLeaveWindow(ctx_, main_, day);
    freePeriods_ = form10;
    connect(form10, &FreePeriodLeaveWindow::recorded, this, [this] {
        session_.finishedByLeave();
        render();
        close();
        emit dayFinished();
    });
    form10->show();
    form10->activateWindow();
}

void AssignmentWindow::proposeDay() {
    const auto request = session_.proposal();
    if (!request) return;
    DayProposalWindow::Request r;
    r.severalTeachers = request->severalTeachers;
    r.week = qs(ctx_.day.day().weekText());
    r.weekday = QString::number(ctx_.day.weekday());
    r.lessons = request->lessons;
    r.reasons = request->reasons;
    auto* w = new DayProposalWindow(ctx_, this, std::move(r));
    connect(w, &DayProposalWindow::confirmed, this,
            [this] { act([this] { after(session_.proposalConfirmed()); }); });
    w->show();
    w->activateWindow();
}

}  // namespace daike
