// Form8 教师选择: every teacher by name in a grid of places; a click hands the name to the
// window that opened the picker (its `picked` signal) and hides the picker.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

namespace daike {

struct RunContext;

class TeacherPickerWindow : public QWidget {
    Q_OBJECT
  public:
    TeacherPickerWindow(RunContext& ctx, QWidget* owner);

  signals:
    // A place was clicked: the name there ("" for an empty place).
    void picked(const QString& name);

  protected:
    bool event(QEvent* e) override;

  private:
    void pick(int place);
    RunContext& ctx_;
    std::vector<std::string> names_;  // by place
};

}  // namespace daike
