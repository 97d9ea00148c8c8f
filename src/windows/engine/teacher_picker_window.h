// Form8 教师选择: every teacher by name in a grid of places; a click hands the name to the
// window that asked last (`answerTo`) and hides the picker.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QLineEdit;

namespace daike {

struct RunContext;

class TeacherPickerWindow : public QWidget {
    Q_OBJECT
  public:
    TeacherPickerWindow(RunContext& ctx, QWidget* owner);

    // The picker answers the window that asked last: an earlier asker is let go, so a name is
    // never handed to two windows.
    template <class Receiver, class Slot>
    void answerTo(Receiver* asker, Slot slot) {
        disconnect(this, &TeacherPickerWindow::picked, nullptr, nullptr);
        connect(this, &TeacherPickerWindow::picked, asker, slot);
    }

  signals:
    // A place was clicked: the name there ("" for an empty place).
    void picked(const QString& name);

  protected:
    bool event(QEvent* e) override;

  private:
    void pick(int place);
    // The places of the names that fit 查找 stand out; with a filter the others are disabled.
    void showFound();
    RunContext& ctx_;
    std::vector<std::string> names_;  // by place
    std::string filter_;              // as typed into 查找
    QLineEdit* find_ = nullptr;
};

}  // namespace daike
