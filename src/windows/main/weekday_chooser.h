// Form9: lets the operator work on another weekday than today's.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class WeekdayChooser : public QWidget {
    Q_OBJECT
  public:
    WeekdayChooser(RunContext& ctx, QWidget* owner);

  signals:
    // On closing: the weekday chosen, or today's when none was (1 = Monday … 7).
    void chosen(int weekday);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    RunContext& ctx_;
    int chosen_ = 0;  // 0 until a day is chosen
};

}  // namespace daike
