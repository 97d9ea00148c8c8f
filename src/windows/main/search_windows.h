// Form11 按班查找 and Form12 教师查找: who is in a class, and where a teacher is, in one period of
// a weekday, with today's cover and the teachers away taken into account.
#pragma once

#include <QWidget>
#include <array>
#include <string>

class QLabel;
class QLineEdit;

namespace daike {

struct RunContext;

// What both windows share: the weekday box with its two buttons, the six period options and
// the two answer labels.
class SlotSearchWindow : public QWidget {
    Q_OBJECT
  protected:
    SlotSearchWindow(RunContext& ctx, QWidget* owner, const QString& name, const QString& caption);
    // Builds the weekday row, the periods and the answer from `top` down; returns the height.
    int buildSlotControls(int top);
    virtual void lookUp(int period) = 0;
    void showAnswer(const QString& first, const QString& second);

    RunContext& ctx_;
    int weekday_ = 0;  // as the weekday box shows it; 1 to 5 can be answered

  private:
    void showWeekday();
    QLineEdit* weekdayBox_ = nullptr;
    std::array<QLabel*, 2> answer_{};
};

class ClassSearchWindow : public SlotSearchWindow {
    Q_OBJECT
  public:
    ClassSearchWindow(RunContext& ctx, QWidget* owner);

  private:
    void lookUp(int period) override;
    std::string cls_;  // the class chosen; empty while the list shows "请选择"
};

class TeacherSearchWindow : public SlotSearchWindow {
    Q_OBJECT
  public:
    TeacherSearchWindow(RunContext& ctx, QWidget* owner);

  public slots:
    // A name picked in the teacher picker; taken while the picker was asked by this window.
    void takePicked(const QString& name);

  signals:
    // "…": the operator wants to pick the teacher from the list of all teachers.
    void pickerWanted();

  private:
    void lookUp(int period) override;
    std::string name_;
    QLineEdit* nameBox_ = nullptr;
};

}  // namespace daike
