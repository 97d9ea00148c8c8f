// Form16: changes the administrator password.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class PasswordWindow : public QWidget {
    Q_OBJECT
  public:
    PasswordWindow(RunContext& ctx, QWidget* owner);

  private:
    void change();
    RunContext& ctx_;
};

}  // namespace daike
