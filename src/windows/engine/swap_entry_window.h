// FormTK 调课登记: a swap of one lesson recorded, with or without an absence, on the working day
// or after the fact: the first teacher's lessons of a day, the colleagues who can take one in
// exchange for a lesson of theirs (or with the return left open), and the term's swaps, which
// can be withdrawn before their first lesson. Opened from 代课模式 and from 修改.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "engine/swaps.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace daike {

struct RunContext;

class SwapEntryWindow : public QWidget {
    Q_OBJECT
  public:
    SwapEntryWindow(RunContext& ctx, QWidget* owner);

  private:
    // A line of List2: a two-way swap (with its return slot) or a one-way one (none).
    struct Choice {
        std::string colleague;
        std::optional<swapping::Candidate> returnSlot;
    };
    // The teacher and day the lessons were listed for, as typed then.
    struct Listed {
        std::string teacher;
        std::string week;
        std::string weekday;
    };

    void listTyped();
    // The lessons of `listed_` read again (after a swap, or a change announced elsewhere).
    void relist();
    void showLessons();
    void showChoices();
    void recordSwap();
    void withdrawSwap();
    void showSwaps();
    void readAgain();
    // The week and weekday boxes show the working day until the operator types another.
    void showWorkingDay();
    std::string now() const;

    RunContext& ctx_;
    std::optional<Listed> listed_;
    std::vector<swapping::DayLesson> lessons_;  // as List1 shows them
    int lesson_ = -1;                           // the chosen one of lessons_
    std::string reason_;                        // "" for a swap agreed without an absence
    std::vector<Choice> choices_;               // as List2 shows them
    int choice_ = -1;
    std::vector<SwapRecord> swaps_;  // the term's, newest first, as List3 shows them
    int swap_ = -1;
    bool dayTyped_ = false;  // the operator typed a week or weekday of his own

    QLineEdit* teacher_ = nullptr;
    QLineEdit* week_ = nullptr;
    QLineEdit* weekday_ = nullptr;
    QComboBox* reasonBox_ = nullptr;
    QListWidget* lessonList_ = nullptr;
    QListWidget* choiceList_ = nullptr;
    QListWidget* swapList_ = nullptr;
};

}  // namespace daike
