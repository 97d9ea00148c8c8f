// Form8 教师选择: every teacher by name in a grid of places; a click hands the name to the
// window that asked (the caller tag).
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class TeacherPickerWindow : public QWidget {
    Q_OBJECT
  public:
    TeacherPickerWindow(RunContext& ctx, QWidget* owner);

  protected:
    bool event(QEvent* e) override;

  private:
    void pick(int place);
    RunContext& ctx_;
};

}  // namespace daike
