// Form19: one teacher's week on a grid of weekdays and periods; lessons added and deleted by
// hand.
#pragma once

#include <QWidget>
#include <array>

#include "basedata/timetable.h"

namespace daike {

struct RunContext;

class TimetableWindow : public QWidget {
    Q_OBJECT
  public:
    TimetableWindow(RunContext& ctx, QWidget* owner);

  private:
    void load();
    void chooseClass();
    void showWeek();
    void toggle(int cell);
    void paint(int cell);
    void save();
    void remove();
    std::vector<int> selectedCells() const;
    RunContext& ctx_;
    std::array<bool, kGridCells> selected_{};
    TeacherWeek week_;  // the shown teacher's week, as the grid shows it
};

}  // namespace daike
