// FormQK 欠课表: the one-way swaps whose return is still to be fixed, oldest first; for the one
// chosen, the colleague's lessons the first teacher can take in return from the working day on,
// and 还课 fixing one of them.
#pragma once

#include <QWidget>
#include <vector>

#include "engine/swaps.h"

class QLabel;
class QListWidget;

namespace daike {

struct RunContext;

class OwedLessonsWindow : public QWidget {
    Q_OBJECT
  public:
    OwedLessonsWindow(RunContext& ctx, QWidget* owner);

  private:
    void showOwed();
    void showReturns();
    void payBack();

    RunContext& ctx_;
    std::vector<swapping::Owed> owed_;  // as List1 shows them
    int owedRow_ = -1;
    std::vector<swapping::Candidate> returns_;  // of the chosen one, as List2 shows them
    int returnRow_ = -1;
    QLabel* count_ = nullptr;
    QListWidget* owedList_ = nullptr;
    QListWidget* returnList_ = nullptr;
};

}  // namespace daike
