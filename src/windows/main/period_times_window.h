// FormZX 作息时间设定: the start and the end of each period, which the notices, the day's sheet
// and the board write beside the period ("第3节（9:50–10:30）").
#pragma once

#include <QWidget>

#include "store/tables/period_times.h"
#include "store/week.h"

class QLineEdit;

namespace daike {

struct RunContext;

class PeriodTimesWindow : public QWidget {
    Q_OBJECT
  public:
    PeriodTimesWindow(RunContext& ctx, QWidget* owner);

  private:
    void showTimes(const week::PerPeriod<periodtimes::StoredTimes>& times);
    void save();
    RunContext& ctx_;
    // startBox_p / endBox_p for period p (from 1): the boxes, not read back but at 确定.
    week::PerPeriod<QLineEdit*> starts_{};
    week::PerPeriod<QLineEdit*> ends_{};
};

}  // namespace daike
