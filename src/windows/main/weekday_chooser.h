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
    // The choice is taken into 当前星期 (or today's weekday stays).
    void closed();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    RunContext& ctx_;
};

}  // namespace daike
