// Form15: the administrator login that guards the operations on base data and tallies.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;
class MainWindow;

class LoginWindow : public QWidget {
    Q_OBJECT
  public:
    LoginWindow(RunContext& ctx, MainWindow* main);

  private:
    void login();
    RunContext& ctx_;
    MainWindow* main_;
};

}  // namespace daike
