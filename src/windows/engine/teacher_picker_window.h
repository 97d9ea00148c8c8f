// Form8 教师选择: every teacher by name in a grid of places; a click hands the name to the
// window that asked (the caller tag): the assignment screen's name box directly, any other
// window through `picked`.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class TeacherPickerWindow : public QWidget {
    Q_OBJECT
  public:
    TeacherPickerWindow(RunContext& ctx, QWidget* owner);

  signals:
    // The name of the place clicked (empty for a place beyond the last teacher).
    void picked(const QString& name);

  protected:
    bool event(QEvent* e) override;

  private:
    void pick(int place);
    RunContext& ctx_;
};

}  // namespace daike
