// FormKX 开学准备: the ten set-up steps of a term in their order, each with what the data shows
// and a button that opens the window (or runs the initialisation) that does it. It reads the
// school again after every change, so a step turns 已完成 as soon as its window has written.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "basedata/term_readiness.h"

class QLabel;
class QPushButton;

namespace daike {

struct RunContext;

class TermChecklistWindow : public QWidget {
    Q_OBJECT
  public:
    TermChecklistWindow(RunContext& ctx, QWidget* owner);

    // Reads the school again.
    void refresh();
    const std::vector<readiness::StepState>& steps() const { return steps_; }

  signals:
    // A step's button: the main menu's item of that name does the work (with its login).
    void menuItemAsked(const QString& menuItem);
    // 开始代课: the school is complete and the operator goes on to the day's cover.
    void startAsked();

  protected:
    bool event(QEvent* e) override;

  private:
    struct Row {
        QLabel* title = nullptr;
        QLabel* state = nullptr;
        QLabel* detail = nullptr;
        QPushButton* open = nullptr;
        QPushButton* other = nullptr;  // the timetable's second way in
    };

    RunContext& ctx_;
    std::vector<readiness::StepState> steps_;
    std::array<Row, readiness::kSteps> rows_{};
    QLabel* next_ = nullptr;
    QPushButton* start_ = nullptr;
};

}  // namespace daike
