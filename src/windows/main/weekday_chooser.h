// Form9: lets the operator work on another weekday than today's.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class WeekdayChooser : public QWidget {
    Q_OBJECT
  public:
    WeekdayChooser(RunContext& ctx, QWidget* owner);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    RunContext& ctx_;
    int chosen_ = 0;  // 0 until a day is chosen
};

}  // namespace daike
