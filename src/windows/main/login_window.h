// Form15: the administrator login that guards the operations on base data and tallies.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class LoginWindow : public QWidget {
    Q_OBJECT
  public:
    LoginWindow(RunContext& ctx, QWidget* main);

  signals:
    // The right password was given for the operation of this action code.
    void accepted(int code);

  private:
    void login();
    RunContext& ctx_;
};

}  // namespace daike
