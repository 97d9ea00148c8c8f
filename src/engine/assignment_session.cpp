#include "engine/assignment_session.h"

#include <algorithm>

#include "school/name_search.h"
#include "school/names.h"
#include "school/working_day.h"
#include "store/text.h"
#include "store/week.h"

namespace daike::assignment {

namespace {

const char* const kIncomplete = "您还内容没有填写完整,请确认！";
const char* const kComplete = "教师代课已完成，是否确定<退出> ";

}  // namespace

Session::Session(Store& store, const WorkingDay& day, Operator& op, Mode mode)
    : store_(store), day_(day), op_(op), oneTeacher_(mode == Mode::OneTeacher) {
    openScreen(store_);
}

std::string Session::weekdayText() const {
    return std::to_string(day_.weekday());
}

std::string Session::teacherOfName() const {
    return names::storedTeacherName(store_, name_);
}

PeriodView Session::period(int index) const {
    PeriodView v;
    const auto lessons = gridOf(lessons_)[static_cast<std::size_t>(index)];
    switch (grid_) {
        case GridState::Blank:
            v.option = false;
            break;
        case GridState::Shown:
            v.classes = lessons.classes();
            v.subjects = lessons.subjects();
            if (const auto by = lessons.coveredBy(); !by.empty()) {
                const bool swapped =
                    std::all_of(lessons.lessons.begin(), lessons.lessons.end(),
                                [](const Lesson& l) { return l.swapped || l.coveredBy.empty(); });
                v.coveredBy = (swapped ? "调：" : "代：") + by;
            }
            // A free period greys its number and the 班/课 marks and offers nothing; a lesson
            // dealt with greys the whole row.
            if (lessons.free())
                v.marks = v.option = false;
            else if (lessons.dealtWith())
                v.labels = v.marks = v.option = false;
            break;
        case GridState::NoLessons:
            v.labels = v.marks = v.option = false;
            break;
        case GridState::Withdrawn:
            v.option = false;
            break;
    }
    return v;
}

const ranking::Candidate* Session::candidateAt(int row) const {
    const auto k = static_cast<std::size_t>(pageOffset_ + row);
    return row >= 0 && row < kPageRows && k < ranked_.size() ? &ranked_[k] : nullptr;
}

const coverload::Standing* Session::standingAt(int row) const {
    const auto k = static_cast<std::size_t>(pageOffset_ + row);
    return row >= 0 && row < kPageRows && k < standings_.size() ? &standings_[k] : nullptr;
}

void Session::arrangeRanked() {
    const auto loads = coverload::DayLoads::read(store_, day_.day().weekText(), day_.weekday());
    standings_ = coverload::arrange(ranked_, loads, rules::load(store_), false);
}

Highlight Session::highlight(int row) const {
    // Green: head teacher of the class; pink: teaches a main subject there; grey: at a limit.
    // Once a row is chosen only that row stands out.
    if (selectedRow_ >= 0) return row == selectedRow_ ? Highlight::Selected : Highlight::None;
    const auto* c = candidateAt(row);
    if (const auto* st = standingAt(row); st && st->limit != coverload::Limit::None)
        return Highlight::Limited;
    if (!c || c->affinity.empty()) return Highlight::None;
    return c->affinity.starts_with("班") ? Highlight::HeadTeacher : Highlight::MainSubject;
}

void Session::setMode(Mode mode) {
    oneTeacher_ = mode == Mode::OneTeacher;
    if (oneTeacher_) {
        severalTeachers_ = false;
        absent_.clear();
    }
}

void Session::startSeveralTeachers() {
    setMode(Mode::SeveralTeachers);
    severalTeachers_ = true;
    name_.clear();
    absencesChanged();
}

bool Session::absencesChanged() {
    if (!severalTeachers_) return false;
    auto names = dayplan::waitingTeachers(store_, weekdayText());
    if (names == absent_) return false;
    absent_ = std::move(names);
    return true;
}

void Session::coverChanged() {
    if (grid_ != GridState::Shown || loadedTeacher_.empty()) return;
    lessons_ = loadDay(store_, loadedTeacher_, weekdayText(), day_.day().weekText());
}

void Session::workingDayMoved() {
    absencesChanged();
    // A day loaded for another weekday may not be covered under this one.
    if (grid_ == GridState::Shown && loadedWeekday_ != day_.weekday()) leaveDay();
}

void Session::leaveDay() {
    // The grid shows the day that was loaded; none of its lessons may be covered under another
    // weekday, nor a candidate of its slot confirmed, until the day is loaded again.
    grid_ = GridState::NoLessons;
    lessons_.clear();
    selectedPeriod_ = -1;
    selectedLesson_.reset();
    selectedRow_ = -1;
    ranked_.clear();
    standings_.clear();
    suggestionsShown_ = false;
}

void Session::reasonChosen(std::string text) {
    reason_ = std::move(text);
    if (reason_ == week::kOtherReason) otherReasonShown_ = true;
}

void Session::takeOtherReason() {
    reason_ = otherReason_;
    otherReasonShown_ = false;
}

void Session::withdraw() {
    grid_ = GridState::Withdrawn;
    selectedPeriod_ = -1;
    selectedLesson_.reset();
}

void Session::teacherPicked(std::string name) {
    name_ = std::move(name);
    op_.point(Spot::ReasonBox);
}

void Session::load() {
    // A typed name no teacher has is told first, with the names it was probably meant for,
    // and nothing else happens: the operator must not read it as a day without lessons. A
    // teacher of the list is taken as listed.
    const bool listed =
        !oneTeacher_ && std::find(absent_.begin(), absent_.end(), name_) != absent_.end();
    if (!listed && !text::trimmed(name_).empty()) {
        const auto known = names::knownTeacher(store_, name_);
        if (!known) {
            op_.tell(known.refusal().message);
            return;
        }
    }
    selectedPeriod_ = -1;
    selectedLesson_.reset();
    // One teacher is typed, and matched against the stored names blanks and all; a listed
    // teacher is named as stored.
    const std::string teacher = oneTeacher_ ? teacherOfName() : name_;
    if (!day_.weekKnown() || teacher.empty() || reason_.empty()) {
        op_.tell(kIncomplete);
        return;
    }
    if (!reasonConfirmed_) {
        reasonConfirmed_ = true;
        if (!op_.yesNo("您是否确定代课事由为“" + reason_ + "”！")) {
            reason_.clear();
            return;
        }
    }
    selectedRow_ = -1;
    ranked_.clear();
    standings_.clear();
    suggestionsShown_ = false;
    loadedTeacher_ = teacher;
    loadedWeekday_ = day_.weekday();
    lessons_ = loadDay(store_, teacher, weekdayText(), day_.day().weekText());
    if (lessons_.empty()) {
        // The grid must not offer the previous teacher's lessons under this teacher's name.
        grid_ = GridState::NoLessons;
        op_.tell("该教师本日无课务安排！");
        return;
    }
    grid_ = GridState::Shown;
}

void Session::clickPeriod(int i, std::optional<Lesson> lesson) {
    // Without a teacher's day loaded there is no lesson to cover: a cover confirmed then would
    // name nobody as the absent teacher.
    if (grid_ != GridState::Shown) return;
    selectedPeriod_ = i;
    selectedRow_ = -1;
    // The lesson ranked and covered: the one asked for, else the first of the period still
    // open.
    if (!lesson) lesson = gridOf(lessons_)[static_cast<std::size_t>(i)].open();
    selectedLesson_ = lesson;
    const auto result = ranking::rank(store_, weekdayText(), i + 1,
                                      lesson ? lesson->cls : std::string(), day_.day().weekText());
    ranked_ = result.rows;
    arrangeRanked();
    overLimitAsked_ = false;
    suggestionsShown_ = false;
    findSwaps();
    if (ranked_.empty() && swaps_.empty()) {
        op_.okCancel("无可代教师");
    } else {
        pageOffset_ = pageAt(static_cast<int>(ranked_.size()), pageOffset_).first;
        bool unreported = false;
        for (const auto& n : result.missing)
            unreported = reportedMissing_.insert(n).second || unreported;
        if (unreported)
            op_.tell("以下教师在“教师姓名”“每日节数表”或“代课节数”中缺少记录，其节数按0计算：" +
                     joinNames(result.missing) +
                     "。请先运行“数据初始化”→“期初基本操作”中的“空课教师初始化”、"
                     "“每日节数初始化”和“代课节数初始化”。");
    }
    op_.point(Spot::CandidateList);
}

void Session::turnPage(int delta) {
    pageOffset_ = std::max(0, pageOffset_ + delta * kPageRows);
    selectedRow_ = -1;
    ranked_ = ranking::rankedRows(store_);
    arrangeRanked();
    overLimitAsked_ = false;
    pageOffset_ = pageAt(static_cast<int>(ranked_.size()), pageOffset_).first;
}

void Session::clickCandidate(int r) {
    // An empty row names nobody: choosing it would record a cover by no one.
    if (selectedPeriod_ < 0 || pageOffset_ + r >= static_cast<int>(ranked_.size())) return;
    selectedRow_ = r;
    swapRow_ = -1;
    overLimitAsked_ = false;
    suggestionsShown_ = false;
}

Next Session::confirm() {
    if (selectedRow_ < 0 || selectedPeriod_ < 0) return Next::Stay;
    op_.point(Spot::ConfirmButton);
    const auto& chosen = ranked_[static_cast<std::size_t>(pageOffset_ + selectedRow_)];
    // Past a limit of 代课规则 the operator may still give him the lesson, asked once.
    if (const auto* st = standingAt(selectedRow_);
        st && st->limit != coverload::Limit::None && !overLimitAsked_) {
        if (!op_.yesNo(coverload::overLimitQuestion(st->limit, st->load))) return Next::Stay;
        overLimitAsked_ = true;
    }
    if (searchesForBetterLessons(chosen.affinity)) {
        suggestions_ = findSuggestions(store_, chosen.name, weekdayText(), selectedPeriod_ + 1);
        if (!suggestions_.empty()) {
            suggestionOffset_ = 0;
            suggestionsFor_ = chosen.name;
            suggestionsShown_ = true;
            return Next::Stay;
        }
    }
    recordCover();
    return finishDay();
}

void Session::findSwaps() {
    swaps_.clear();
    swapOffset_ = 0;
    swapRow_ = -1;
    if (!selectedLesson_ || !day_.weekKnown() || selectedPeriod_ < 0) return;
    const swapping::LessonAt lesson{loadedTeacher_, selectedLesson_->cls, selectedLesson_->subject,
                                    swapping::slotOf(day_.day(), selectedPeriod_ + 1)};
    // The teacher whose day is covered here is away that day: his return lies on a later one.
    swaps_ = swapping::candidates(store_, lesson, day_.day(), swaps::settings(store_).days, true);
}

const swapping::Candidate* Session::swapAt(int row) const {
    const int k = swapOffset_ + row;
    if (row < 0 || row >= kSwapRows || k >= static_cast<int>(swaps_.size())) return nullptr;
    return &swaps_[static_cast<std::size_t>(k)];
}

bool Session::swapsShown() const {
    return grid_ == GridState::Shown && selectedPeriod_ >= 0 && !swaps_.empty() &&
           !suggestionsShown_;
}

void Session::clickSwap(int row) {
    if (!swapsShown() || !swapAt(row)) return;
    swapRow_ = row;
    selectedRow_ = -1;
    op_.point(Spot::ConfirmButton);
}

void Session::moreSwaps() {
    swapRow_ = -1;
    swapOffset_ += kSwapRows;
    if (swapOffset_ >= static_cast<int>(swaps_.size())) swapOffset_ = 0;
}

Next Session::confirmSwap(const std::string& now) {
    const auto* chosen = swapAt(swapRow_);
    if (!swapsShown() || !chosen || !selectedLesson_) return Next::Stay;
    const swapping::LessonAt lesson{loadedTeacher_, selectedLesson_->cls, selectedLesson_->subject,
                                    swapping::slotOf(day_.day(), selectedPeriod_ + 1)};
    const auto swap = *chosen;
    if (!op_.yesNo(swapping::question(store_, lesson, swap.colleague, swap))) return Next::Stay;
    const auto done =
        swapping::record(store_, lesson, swap.colleague, swap, reason_, day_.day(), now);
    if (!done) op_.tell(done.refusal().message);
    load();
    op_.point(Spot::PeriodGrid);
    return done ? finishDay() : Next::Stay;
}

Next Session::keepChosenLesson() {
    if (!suggestionsShown_ || selectedRow_ < 0 || selectedPeriod_ < 0) return Next::Stay;
    const auto* chosen = candidateAt(selectedRow_);
    // The panel speaks of one candidate: another chosen since then has not been offered it.
    if (!chosen || chosen->name != suggestionsFor_) return Next::Stay;
    suggestionsShown_ = false;
    op_.point(Spot::ConfirmButton);
    recordCover();
    return finishDay();
}

void Session::moreSuggestions() {
    if (suggestionOffset_ + 4 < static_cast<int>(suggestions_.size())) suggestionOffset_ += 4;
}

void Session::earlierSuggestions() {
    suggestionOffset_ = std::max(0, suggestionOffset_ - 4);
}

void Session::takeSuggestion(int j) {
    const auto k = static_cast<std::size_t>(suggestionOffset_ + j);
    if (k >= suggestions_.size()) return;
    const auto wanted = suggestions_[k];
    suggestionsShown_ = false;
    name_ = wanted.absent;
    // His lesson is recorded under his own reason of the day; while he has none yet the
    // operator is asked whether the reason shown is his too.
    if (const auto reason = reasonOfToday(store_, wanted.absent)) {
        reason_ = *reason;
        reasonConfirmed_ = true;
    } else if (wanted.absent != loadedTeacher_) {
        reasonConfirmed_ = false;
    }
    const int period = selectedPeriod_;
    load();
    if (period < 0 || grid_ != GridState::Shown) return;
    // The suggested lesson itself, should that teacher have two lessons in the period.
    const auto lesson =
        gridOf(lessons_)[static_cast<std::size_t>(period)].open(wanted.cls, wanted.subject);
    if (lesson) clickPeriod(period, lesson);
}

void Session::recordCover() {
    const auto lesson = selectedLesson_;
    Cover c;
    c.absent = loadedTeacher_;
    c.reason = reason_;
    c.substitute = ranked_[static_cast<std::size_t>(pageOffset_ + selectedRow_)].name;
    c.week = day_.day().weekText();
    c.weekdayText = weekdayText();
    c.cls = lesson ? lesson->cls : std::string();
    c.subject = lesson ? lesson->subject : std::string();
    c.period = selectedPeriod_ + 1;
    // With two lessons in the period the question names the class and subject: the operator
    // must know which of them is being given away.
    const bool twoInPeriod =
        lesson && gridOf(lessons_)[static_cast<std::size_t>(selectedPeriod_)].several();
    const std::string which = twoInPeriod ? c.cls + "班" + c.subject + "课" : "该节课";
    if (op_.okCancel("是否确定让 “" + c.substitute + "” 老师代 “" + c.absent + "”  老师的" + which +
                     "？"))
        assignment::recordCover(store_, c, !oneTeacher_);
    load();
    op_.point(Spot::PeriodGrid);
}

Next Session::finishDay() {
    if (grid_ == GridState::Shown && !dayFinished(lessons_)) return Next::Stay;
    reasonConfirmed_ = false;
    savedReason_ = reason_;
    reason_.clear();
    if (severalTeachers_) {
        absencesChanged();
        name_.clear();
    }
    return askToLeave();
}

Next Session::askToLeave() {
    if (!absent_.empty()) return Next::Stay;
    op_.point(Spot::ConfirmButton);
    return op_.okCancel(kComplete) ? Next::Leave : Next::Stay;
}

std::optional<LeaveDay> Session::exitStep() {
    releaseHeldBack(store_);
    if (!oneTeacher_) return std::nullopt;
    LeaveDay leave;
    leave.teacher = teacherOfName();
    if (grid_ == GridState::Shown) leave.day = dayAtExit(lessons_);
    reason_ = savedReason_;
    return leave;
}

void Session::closed() {
    releaseHeldBack(store_);
}

void Session::finishedByLeave() {
    name_.clear();
    oneTeacher_ = false;
}

std::optional<ProposalRequest> Session::proposal() {
    ProposalRequest r;
    r.severalTeachers = !oneTeacher_;
    if (oneTeacher_) {
        // The teacher's day is loaded and the reason confirmed first, as for one lesson.
        if (!reasonConfirmed_ || grid_ != GridState::Shown || loadedTeacher_ != teacherOfName())
            load();
        if (!reasonConfirmed_ || grid_ != GridState::Shown || reason_.empty()) return std::nullopt;
        r.lessons =
            dayplan::teacherLessons(store_, loadedTeacher_, weekdayText(), day_.day().weekText());
    } else {
        if (!day_.weekKnown()) {
            op_.tell(kIncomplete);
            return std::nullopt;
        }
        r.lessons = dayplan::queuedLessons(store_, weekdayText());
    }
    if (reasonConfirmed_ && !loadedTeacher_.empty() && !reason_.empty())
        r.reasons[loadedTeacher_] = reason_;
    if (r.lessons.empty()) {
        op_.tell("没有需要安排代课的课务！");
        return std::nullopt;
    }
    return r;
}

Next Session::proposalConfirmed() {
    if (oneTeacher_) {
        load();
        return finishDay();
    }
    // Several teachers: each whose queued lessons are all dealt with leaves the list.
    if (reasonConfirmed_ && grid_ == GridState::Shown) load();
    absencesChanged();
    if (!absent_.empty()) return Next::Stay;
    reasonConfirmed_ = false;
    name_.clear();
    return askToLeave();
}

}  // namespace daike::assignment
