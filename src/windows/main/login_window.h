// Form15: the administrator login that guards the operations on base data and tallies.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class LoginWindow : public QWidget {
    Q_OBJECT
  public:
    // The login for the operation of this action code.
    LoginWindow(RunContext& ctx, QWidget* main, int code);
    // Another guarded item was chosen while the login is open: its operation runs instead.
    void askFor(int code) { code_ = code; }
    int code() const { return code_; }

  signals:
    // The right password was given for the operation of this action code.
    void accepted(int code);

  private:
    void login();
    RunContext& ctx_;
    int code_;
    QString typed_;
};

}  // namespace daike
