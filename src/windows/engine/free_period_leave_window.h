// Form10 无课公出情况 and Form14 无课公出: which free periods an absent teacher is away in.
// Form10 records them when the one-teacher assignment ends; Form14 withdraws recorded ones.
#pragma once

#include <QWidget>
#include <array>

#include "engine/free_period_leave.h"

class QCheckBox;
class QLabel;

namespace daike {

struct RunContext;

class FreePeriodLeaveWindow : public QWidget {
    Q_OBJECT
  public:
    // The absent teacher's day as the assignment screen leaves it.
    struct Day {
        QString teacher;
        leave::Periods lesson{};   // a lesson in the period
        leave::Periods covered{};  // a lesson no longer selectable there (covered)
    };
    // Form10: the free periods are red and may be ticked; lesson periods are disabled.
    FreePeriodLeaveWindow(RunContext& ctx, QWidget* owner, const Day& day);

  signals:
    // The away periods are recorded; the assignment ends.
    void recorded();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    RunContext& ctx_;
    Day day_;
    bool done_ = false;
};

class FreePeriodLeaveEditWindow : public QWidget {
    Q_OBJECT
  public:
    // Form14 for a teacher (the one 修改 is correcting): the recorded free periods ticked.
    FreePeriodLeaveEditWindow(RunContext& ctx, QWidget* owner, const QString& teacher);
    // Whether the teacher has a free-period absence to correct (else the window stays hidden).
    bool hasAny() const { return any_; }

  signals:
    // The teacher's free periods were corrected (the window closed): 修改 asks no more.
    void corrected(const QString& teacher);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    RunContext& ctx_;
    QString teacher_;
    leave::Periods recorded_{};  // the free periods recorded as away, the only ones shown
    bool any_ = false;
    bool done_ = false;
};

// Opens Form14 for the teacher when the teacher has free-period absences recorded; otherwise
// the window only takes its caption and stays hidden.
FreePeriodLeaveEditWindow* openFreePeriodLeaveEdit(RunContext& ctx, QWidget* owner,
                                                   const QString& teacher);

}  // namespace daike
