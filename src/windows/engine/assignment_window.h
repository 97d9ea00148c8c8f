// Form1 教师课务安排: the absent teacher's day in a six-period grid, the ranked candidates of
// the chosen lesson, 32 to a page, and the confirmation that records a cover.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "engine/assignment_session.h"
#include "store/week.h"

class QLabel;
class QLineEdit;
class QComboBox;
class QPushButton;
class QRadioButton;
class QGroupBox;

namespace daike {

struct RunContext;

class AssignmentWindow : public QWidget {
    Q_OBJECT
  public:
    using Mode = assignment::Mode;
    // The candidate list's values (姓名 … 学期代课节数) and the suggestion panel's columns.
    static constexpr int kListValues = 6;
    static constexpr int kSuggestionColumns = 7;

    // `main` is the main window: it owns this window and is brought forward when it closes.
    AssignmentWindow(RunContext& ctx, QWidget* main, Mode mode);
    ~AssignmentWindow() override;

    Mode mode() const { return session_.mode(); }
    // The window is brought up again by 单人代课.
    void coverOneTeacher();
    // Several-teachers mode on that weekday: the list shows the day's teachers whose lessons
    // wait (the teachers handed over are among them) and follows the day's absences from now
    // on.
    void startSeveralTeachers(int weekday);
    // The absent teachers still listed.
    QStringList absentTeachers() const;
  signals:
    // The day was finished: by 退出 with several teachers, or by the free-period leave window
    // after one teacher. Emitted after the window has closed.
    void dayFinished();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    class Talk;
    struct PeriodRow {
        QLabel* number;        // Label7
        QLabel* cls;           // Label13
        QLabel* ban;           // Label19
        QLabel* subject;       // Label25
        QLabel* ke;            // Label31
        QRadioButton* option;  // Option1
        QLabel* coveredBy;     // the substitute of a lesson covered today
        auto labels() const { return std::array{number, cls, ban, subject, ke}; }
    };
    struct ListRow {
        QLabel* number;  // Label37
        // Label85, Label54, Label55, Label56, Label57, Label59
        std::array<QLabel*, kListValues> values;
        QRadioButton* option;  // Option2
    };
    struct SuggestionRow {
        std::array<QLabel*, kSuggestionColumns>
            labels;            // Label8, Label9, Label10, Label11, Label12, Label14, Label15
        QRadioButton* option;  // Option3
    };

    void build();  // assignment_window_layout.cpp
    // Runs an operator's action on the session and paints the outcome.
    void act(const std::function<void()>& action);
    // Paints every control from the session; no handler reads a control back.
    void render();
    void renderBoxes();
    void renderGrid();
    void renderList();
    void renderSuggestions();
    void renderSwaps();
    // When a swap is recorded, as the office's clock says ("2026-12-09 08:15").
    std::string now() const;

    void stepWeekday(int delta);
    void followWorkingDay();
    void showWeek();
    void weekTyped(const QString& text);
    void openPicker();
    void showPicker();
    void after(assignment::Next next);
    void exitStep();
    void proposeDay();

    RunContext& ctx_;
    QWidget* main_;
    std::unique_ptr<Talk> talk_;
    assignment::Session session_;
    bool painting_ = false;  // controls set by render() are not the operator's edits
    QLineEdit* week_;
    QLineEdit* weekdayBox_;   // Text2, shows the working day's weekday
    QComboBox* teachers_;     // Combo1
    QLineEdit* typed_;        // Text3
    QPushButton* pick_;       // Command7
    QPushButton* loadDay_;    // Command1
    QComboBox* reasons_;      // Combo2
    QLineEdit* otherReason_;  // Text4
    QPushButton* takeOther_;  // Command9
    QGroupBox* info_;
    week::PerPeriod<PeriodRow> periods_{};
    std::array<ListRow, 32> list_{};
    QPushButton* confirm_;  // Command3
    QLabel* candidateDay_;  // the chosen candidate's day, week and term
    QPushButton* nextPage_;
    QPushButton* previousPage_;
    QGroupBox* suggestionFrame_;  // Frame5
    QLabel* suggestionTitle_;     // Label16
    std::array<SuggestionRow, 4> suggestionRows_{};
    QPushButton* moreSuggestions_;
    QPushButton* earlierSuggestions_;
    QLabel* suggestionWhy_;    // Label16b
    QPushButton* keepChosen_;  // Command13
    // 可调课, in the information panel's place while the chosen lesson can be swapped.
    struct SwapRow {
        QRadioButton* option;  // Option4
        QLabel* text;          // Label91
    };
    QGroupBox* swapFrame_;  // Frame6
    QLabel* swapTitle_;     // Label90
    std::array<SwapRow, assignment::Session::kSwapRows> swapRows_{};
    QPushButton* moreSwaps_;    // Command15
    QPushButton* confirmSwap_;  // Command14

    QPointer<QWidget> picker_;       // Form8, while this window has it open
    bool pickerPending_ = false;     // the picker is open for this window: bring it back first
    QPointer<QWidget> freePeriods_;  // Form10, once the exit step opened it
};

}  // namespace daike
