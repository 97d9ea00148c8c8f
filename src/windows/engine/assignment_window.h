// Form1 教师课务安排: the absent teacher's day in a six-period grid, the ranked candidates of
// the chosen lesson, 32 to a page, and the confirmation that records a cover.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/assignment.h"
#include "engine/ranking.h"
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
    // The candidate list's values (姓名 … 学期代课节数) and the suggestion panel's columns.
    static constexpr int kListValues = 6;
    static constexpr int kSuggestionColumns = 7;

    // `main` is the main window: it owns this window and is brought forward when it closes.
    AssignmentWindow(RunContext& ctx, QWidget* main);

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

    // How the period grid stands.
    enum class GridState {
        Blank,      // nothing loaded yet
        Shown,      // the lessons of lessons_
        NoLessons,  // the teacher has no lesson that day: every period off
        Withdrawn,  // another teacher is being picked: no lesson offered until the next load
    };

    void build();
    // Paints every control from the members below; no handler reads a control back.
    void render();
    void renderGrid();
    void renderList();
    void renderSuggestions();
    bool oneTeacherMode() const;
    QString reason() const;
    std::string weekdayText() const;

    void showAbsentTeachers();
    void stepWeekday(int delta);
    // The working day moved: the week box and weekday follow, a day loaded for another weekday
    // is put away.
    void followWorkingDay();
    void showWeek();
    void weekTyped(const QString& text);
    void leaveDay();  // the loaded day no longer matches the weekday box
    void openPicker();
    void showPicker();
    void teacherPicked(const QString& name);
    void reasonChosen(const QString& text);
    void takeOtherReason();
    void loadDay();
    void periodClicked(int index, std::optional<assignment::Lesson> lesson = std::nullopt);
    void turnPage(int delta);
    void candidateClicked(int row);
    void confirm();
    void recordCover();  // 代课运算实体程序
    void finishDay();    // sclbx
    void exitStep();
    void proposeDay();  // 一键安排
    void dayConfirmed();
    void takeSuggestion(int row);

    RunContext& ctx_;
    QWidget* main_;
    QLineEdit* week_;
    QLineEdit* weekdayBox_;   // Text2, shows weekday_
    QComboBox* teachers_;     // Combo1
    QLineEdit* typed_;        // Text3
    QPushButton* pick_;       // Command7
    QComboBox* reasons_;      // Combo2
    QLineEdit* otherReason_;  // Text4
    QPushButton* takeOther_;  // Command9
    QGroupBox* info_;
    week::PerPeriod<PeriodRow> periods_{};
    std::array<ListRow, 32> list_{};
    QPushButton* confirm_;  // Command3
    QPushButton* nextPage_;
    QPushButton* previousPage_;
    QGroupBox* suggestionFrame_;  // Frame5
    QLabel* suggestionTitle_;     // Label16
    std::array<SuggestionRow, 4> suggestionRows_{};
    QPushButton* moreSuggestions_;
    QPushButton* earlierSuggestions_;

    // The window's data.
    bool severalTeachers_ = false;             // the list of absent teachers is shown
    QString loadedTeacher_;                    // whose lessons the grid shows
    int loadedWeekday_ = 0;                    // the weekday they were loaded for
    std::vector<assignment::Lesson> lessons_;  // that teacher's lessons of weekday_
    GridState grid_ = GridState::Blank;
    int selectedPeriod_ = -1;                           // index 0 to 5
    std::optional<assignment::Lesson> selectedLesson_;  // the lesson of it being covered
    std::vector<ranking::Candidate> ranked_;            // candidates of the chosen lesson, ranked
    int pageOffset_ = 0;                                // index of the first row on the page
    int selectedRow_ = -1;                              // row of the page, 0 to 31
    std::vector<assignment::Suggestion> suggestions_;
    QString suggestionsFor_;  // the substitute the suggestions are for
    int suggestionOffset_ = 0;
    bool suggestionsShown_ = false;
    bool otherReasonShown_ = false;
    bool reasonConfirmed_ = false;
    QString savedReason_;
    int completionAnswer_ = 0;
    std::set<std::string> reportedMissing_;
    QPointer<QWidget> picker_;       // Form8, while this window has it open
    bool pickerPending_ = false;     // the picker is open for this window: bring it back first
    QPointer<QWidget> freePeriods_;  // Form10, once the exit step opened it
};

}  // namespace daike
