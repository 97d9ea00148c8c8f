// The state of the assignment screen (教师课务安排) and every rule of working it: whose day is
// loaded, the period grid, the ranked candidates and their pages, the suggestions of better
// lessons, and the end of a teacher's day. The window paints what this holds and hands it the
// operator's clicks and typing; it reads no control back.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/assignment.h"
#include "engine/cover_load.h"
#include "engine/day_proposal.h"
#include "engine/ranking.h"
#include "engine/swaps.h"

namespace daike {

class Store;
class WorkingDay;

namespace assignment {

// How the period grid stands.
enum class GridState {
    Blank,      // nothing loaded yet
    Shown,      // the loaded teacher's lessons
    NoLessons,  // the teacher has no lesson that day: every period off
    Withdrawn,  // another teacher is being picked: no lesson offered until the next load
};

// Where the pointer is put for the step that follows.
enum class Spot {
    ReasonBox,      // a teacher was picked: the reason comes next
    CandidateList,  // a period was chosen: a candidate comes next
    ConfirmButton,  // a candidate is being confirmed, or the day is done
    PeriodGrid,     // a cover was recorded: the next period comes next
};

// The questions and messages of the screen, and the pointer.
class Operator {
  public:
    virtual ~Operator() = default;
    virtual void tell(const std::string& text) = 0;
    virtual bool yesNo(const std::string& text) = 0;
    virtual bool okCancel(const std::string& text) = 0;
    virtual void point(Spot spot) = 0;
};

// One period row of the grid as it shows: its texts, and which parts are live.
struct PeriodView {
    std::string classes;  // "一(1)", or "一(1)/一(2)" for two lessons in the period
    std::string subjects;
    std::string coveredBy;  // "代：…" once a lesson of the period is covered
    bool labels = true;     // the class and the subject
    bool marks = true;      // the number and the 班/课 marks
    bool option = true;     // the button offers the period
};

// How a row of the candidate list stands out.
// Limited: the candidate reached a limit of 代课规则 (shown last, in grey).
enum class Highlight { None, Selected, HeadTeacher, MainSubject, Limited };

// After an action: stay on the screen, or take the exit step (the operator answered that the
// day's cover is complete).
enum class Next { Stay, Leave };

// The exit step of one teacher's cover hands his day on to the free-period window.
struct LeaveDay {
    std::string teacher;
    DayAtExit day;
};

// What 一键安排 proposes from: the lessons and the reasons known for their teachers.
struct ProposalRequest {
    bool severalTeachers = false;
    std::vector<dayplan::OpenLesson> lessons;
    std::map<std::string, std::string> reasons;
};

// 单人代课 (代课方式 1): one absent teacher typed or picked; 多人代课 (代课方式 0): the day's
// teachers whose lessons wait, from a list.
enum class Mode { SeveralTeachers = 0, OneTeacher = 1 };

class Session {
  public:
    // Opening the screen starts a new list of the cover recorded through it.
    Session(Store& store, const WorkingDay& day, Operator& op, Mode mode);

    // --- what the window shows -------------------------------------------------------------
    Mode mode() const { return oneTeacher_ ? Mode::OneTeacher : Mode::SeveralTeachers; }
    bool oneTeacher() const { return oneTeacher_; }
    const std::vector<std::string>& absentList() const { return absent_; }
    const std::string& name() const { return name_; }
    const std::string& reason() const { return reason_; }
    bool otherReasonShown() const { return otherReasonShown_; }
    const std::string& otherReason() const { return otherReason_; }
    GridState grid() const { return grid_; }
    const std::vector<Lesson>& lessons() const { return lessons_; }
    int selectedPeriod() const { return selectedPeriod_; }  // index 0 to 5, or −1
    PeriodView period(int index) const;
    const std::vector<ranking::Candidate>& ranked() const { return ranked_; }
    int pageOffset() const { return pageOffset_; }
    int selectedRow() const { return selectedRow_; }  // row of the page, or −1
    // The candidate on a row of the page, or none.
    const ranking::Candidate* candidateAt(int row) const;
    // His day, week and term and the limit he reached, for the same row.
    const coverload::Standing* standingAt(int row) const;
    Highlight highlight(int row) const;
    bool suggestionsShown() const { return suggestionsShown_; }
    const std::vector<Suggestion>& suggestions() const { return suggestions_; }
    const std::string& suggestionsFor() const { return suggestionsFor_; }
    int suggestionOffset() const { return suggestionOffset_; }
    // 可调课: the colleagues of the chosen lesson's class who could take it in exchange for one
    // of theirs (the week must be known), a page of kSwapRows from swapOffset().
    static constexpr int kSwapRows = 5;
    const std::vector<swapping::Candidate>& swaps() const { return swaps_; }
    int swapOffset() const { return swapOffset_; }
    int swapRow() const { return swapRow_; }  // row of the page, or −1
    const swapping::Candidate* swapAt(int row) const;
    // The swap panel stands in the information panel's place while a lesson with swaps is
    // chosen and no suggestion is shown.
    bool swapsShown() const;

    // --- what the operator does ------------------------------------------------------------
    // The screen is brought up again for the other way of covering (the same window serves
    // both): a list is never kept for one teacher.
    void setMode(Mode mode);
    // Several teachers from now on: the list shows the working day's waiting teachers.
    void startSeveralTeachers();
    void nameTyped(std::string text) { name_ = std::move(text); }
    void reasonTyped(std::string text) { reason_ = std::move(text); }
    // A reason chosen from the list; "其他" opens the box for a reason of the operator's own.
    void reasonChosen(std::string text);
    void otherReasonTyped(std::string text) { otherReason_ = std::move(text); }
    void takeOtherReason();
    // The teacher picker opens: no lesson of the grid may be covered until the day is loaded
    // again.
    void withdraw();
    void teacherPicked(std::string name);
    // 确定: the named teacher's lessons of the working day's weekday.
    void load();
    // A period clicked: the candidates for its first open lesson (or for `lesson`), ranked.
    // Ignored while no teacher's day is shown.
    void clickPeriod(int index, std::optional<Lesson> lesson = std::nullopt);
    void turnPage(int delta);
    void clickCandidate(int row);
    // The candidate's 确定: either the suggestions of lessons that suit him better, or the cover,
    // asked first and recorded; then, the day finished, the question whether to leave.
    Next confirm();
    // A suggestion taken: its teacher's day loaded under his own reason and its lesson chosen.
    void takeSuggestion(int row);
    // 仍代原课 on the suggestion panel: the candidate keeps the lesson first chosen, asked and
    // recorded as 确定 does when no better lesson is found.
    Next keepChosenLesson();
    void moreSuggestions();
    void earlierSuggestions();
    void clickSwap(int row);
    // The next page of swaps, round to the first.
    void moreSwaps();
    // 调课: the chosen swap asked and recorded (`now` is when, "2026-12-09 08:15"); then, the day
    // finished, the question whether to leave, as after a cover.
    Next confirmSwap(const std::string& now);
    // The exit step: lessons held back are released. For one teacher, his day as the
    // free-period window gets it.
    std::optional<LeaveDay> exitStep();
    // The screen was closed, by 退出 or otherwise: that too is the exit step for the lessons held
    // back.
    void closed();
    // The free-period window recorded the one teacher's day: the screen is done with him.
    void finishedByLeave();
    // 一键安排: what to propose for, once the day is loaded and the reason confirmed; nothing
    // (the operator was told why) when there is nothing to propose.
    std::optional<ProposalRequest> proposal();
    // The proposal's covers were recorded.
    Next proposalConfirmed();

    // --- what happened elsewhere -----------------------------------------------------------
    // The day's absences changed: the list follows. Returns whether it changed.
    bool absencesChanged();
    // A cover was recorded or removed elsewhere: the loaded day is shown as it stands.
    void coverChanged();
    // The working day moved: a day loaded for another weekday is put away.
    void workingDayMoved();

  private:
    std::string weekdayText() const;
    // The candidates as the school's limits show them: those at a limit last.
    void arrangeRanked();
    // The name as stored for the teacher typed (blanks matched as in every window).
    std::string teacherOfName() const;
    void leaveDay();
    void recordCover();
    Next finishDay();
    Next askToLeave();
    void findSwaps();

    Store& store_;
    const WorkingDay& day_;
    Operator& op_;
    bool oneTeacher_ = false;
    bool severalTeachers_ = false;  // the list of absent teachers is shown
    std::vector<std::string> absent_;
    std::string name_;
    std::string reason_;
    std::string otherReason_;
    bool otherReasonShown_ = false;
    bool reasonConfirmed_ = false;
    std::string savedReason_;  // the reason of the day just finished, for the exit step
    std::string loadedTeacher_;
    int loadedWeekday_ = 0;
    std::vector<Lesson> lessons_;
    GridState grid_ = GridState::Blank;
    int selectedPeriod_ = -1;
    std::optional<Lesson> selectedLesson_;
    std::vector<ranking::Candidate> ranked_;
    std::vector<coverload::Standing> standings_;  // of ranked_, in its order
    bool overLimitAsked_ = false;  // the operator said yes to the chosen row past its limit
    int pageOffset_ = 0;
    int selectedRow_ = -1;
    std::vector<Suggestion> suggestions_;
    std::string suggestionsFor_;
    int suggestionOffset_ = 0;
    bool suggestionsShown_ = false;
    std::vector<swapping::Candidate> swaps_;
    int swapOffset_ = 0;
    int swapRow_ = -1;
    std::set<std::string> reportedMissing_;  // each missing teacher is named once
};

}  // namespace assignment
}  // namespace daike
