#include "engine/assignment.h"

#include <algorithm>

#include "basedata/class_list.h"
#include "engine/ranking.h"
#include "engine/swaps.h"
#include "school/resets.h"
#include "store/store.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/queue.h"
#include "store/tables/tallies.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/text.h"
#include "store/week.h"

namespace daike::assignment {

namespace {

int weekdayOf(std::string_view weekdayText) {
    return static_cast<int>(leadingNumber(weekdayText));
}

// The absent teacher's lesson a cover stands for.
LessonFilter lessonOf(const Cover& c) {
    LessonFilter f;
    f.teacher = c.absent;
    f.weekday = weekdayOf(c.weekdayText);
    f.cls = c.cls;
    f.period = c.period;
    f.subject = c.subject;
    return f;
}

}  // namespace

void openScreen(Store& store) {
    covers::clear(store, CoverTable::Session);
}

std::vector<Lesson> loadDay(Store& store, std::string_view teacher, std::string_view weekdayText,
                            std::string_view weekText) {
    std::vector<Lesson> lessons;
    LessonFilter day;
    day.teacher = std::string(teacher);
    day.weekday = weekdayOf(weekdayText);
    std::vector<swapping::Taken> swapped;
    if (!weekText.empty())
        swapped = swapping::onDay(store, static_cast<int>(leadingNumber(weekText)), *day.weekday);
    for (const auto& row : timetable::byPeriod(store, day)) {
        Lesson l;
        l.period = row.period;
        l.cls = row.cls;
        l.subject = row.subject;
        l.dealtWith = row.dealtWith;
        if (row.covered) {
            const auto today = covers::read(store, CoverTable::Today, CoverFilter::of(row));
            if (!today.empty()) l.coveredBy = today.front().substitute;
        }
        for (auto t = swapped.begin(); t != swapped.end(); ++t) {
            if (t->owner != teacher || t->period != row.period || t->cls != row.cls) continue;
            l.dealtWith = l.swapped = true;
            l.coveredBy = t->taker;
            swapped.erase(t);
            break;
        }
        lessons.push_back(std::move(l));
    }
    return lessons;
}

bool PeriodLessons::dealtWith() const {
    return !lessons.empty() &&
           std::all_of(lessons.begin(), lessons.end(), [](const Lesson& l) { return l.dealtWith; });
}

std::optional<Lesson> PeriodLessons::open() const {
    for (const auto& l : lessons)
        if (!l.dealtWith) return l;
    return std::nullopt;
}

std::optional<Lesson> PeriodLessons::open(std::string_view cls, std::string_view subject) const {
    for (const auto& l : lessons)
        if (!l.dealtWith && l.cls == cls && l.subject == subject) return l;
    return std::nullopt;
}

std::string PeriodLessons::classes() const {
    std::string out;
    for (const auto& l : lessons) out += (out.empty() ? "" : "/") + l.cls;
    return out;
}

std::string PeriodLessons::subjects() const {
    std::string out;
    const bool same = std::all_of(lessons.begin(), lessons.end(),
                                  [&](const Lesson& l) { return l.subject == lessons[0].subject; });
    for (const auto& l : lessons) {
        out += (out.empty() ? "" : "/") + l.subject;
        if (same) break;
    }
    return out;
}

std::string PeriodLessons::coveredBy() const {
    if (std::none_of(lessons.begin(), lessons.end(),
                     [](const Lesson& l) { return !l.coveredBy.empty(); }))
        return {};
    if (!several()) return lessons[0].coveredBy;
    std::string out;
    for (std::size_t i = 0; i < lessons.size(); ++i) {
        const auto& l = lessons[i];
        out += i == 0 ? "" : "/";
        out += !l.coveredBy.empty() ? l.coveredBy : l.dealtWith ? "—" : "待代";
    }
    return out;
}

Grid gridOf(const std::vector<Lesson>& lessons) {
    Grid grid;
    for (const auto& l : lessons)
        if (week::isPeriod(l.period))
            grid[static_cast<std::size_t>(l.period - 1)].lessons.push_back(l);
    return grid;
}

bool dayFinished(const std::vector<Lesson>& lessons) {
    const auto grid = gridOf(lessons);
    return std::none_of(grid.begin(), grid.end(), [](const auto& p) { return p.open(); });
}

DayAtExit dayAtExit(const std::vector<Lesson>& lessons) {
    DayAtExit day;
    const auto grid = gridOf(lessons);
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const auto& ls = grid[i].lessons;
        day.lesson[i] =
            std::any_of(ls.begin(), ls.end(), [](const Lesson& l) { return !l.subject.empty(); });
        // A lesson without a class was never open to cover through the grid.
        day.covered[i] = !ls.empty() && std::all_of(ls.begin(), ls.end(), [](const Lesson& l) {
            return !l.cls.empty() && l.dealtWith;
        });
    }
    return day;
}

int stepWeekday(int weekday, int delta) {
    return delta > 0 ? week::nextWeekday(weekday) : week::previousWeekday(weekday);
}

bool searchesForBetterLessons(std::string_view affinity) {
    return affinity.empty();
}

namespace {

// The term may hold this lesson of this very day already: today's cover was cleared by a
// 新的一天 run by hand and the lesson is now covered afresh. The term keeps the lesson no more
// often than the timetable holds it covered that day: the earliest of the surplus records go,
// each taking one off its substitute's term tally.
void replaceEarlierTermCover(Store& store, const CoverRecord& record,
                             const std::vector<TimetableRow>& copies) {
    const auto coveredAfter = 1 + std::count_if(copies.begin(), copies.end(),
                                                [](const TimetableRow& l) { return l.covered; });
    std::vector<CoverRecord> sameDay;
    for (auto& r : covers::read(store, CoverTable::Term,
                                {record.absent, std::nullopt, record.weekday, record.cls,
                                 record.period, record.subject, record.week}))
        sameDay.push_back(std::move(r));
    const auto surplus = static_cast<long>(sameDay.size()) + 1 - coveredAfter;
    for (long i = 0; i < surplus; ++i) {
        const auto& earlier = sameDay[static_cast<std::size_t>(i)];
        covers::removeOne(store, CoverTable::Term, earlier);
        tallies::takeTermCover(store, earlier.substitute);
    }
}

}  // namespace

void recordCover(Store& store, const Cover& c, bool severalTeachers) {
    store.transaction([&] {
        // A cover always stands for a lesson of the absent teacher: a record of a class and
        // subject on a day the teacher does not teach them would book a substitute and raise
        // the tallies for nothing.
        const auto lessons = timetable::read(store, lessonOf(c));
        if (lessons.empty())
            throw Failure(Failure::Kind::Usage,
                          "“" + c.absent + "”老师星期" + c.weekdayText +
                              week::periodName(c.period) + "没有" + c.cls + "班的" + c.subject +
                              "课，本节代课没有记入。请按“确定”重新调出该教师当天"
                              "的课务。");
        // Every copy covered already (from another window, or a grid shown before it was): a
        // second cover would book two substitutes for one lesson.
        auto open = std::find_if(lessons.begin(), lessons.end(),
                                 [](const TimetableRow& l) { return !l.covered; });
        if (open == lessons.end())
            throw Failure(Failure::Kind::Usage,
                          "“" + c.absent + "”老师星期" + c.weekdayText +
                              week::periodName(c.period) + c.cls + "班的" + c.subject +
                              "课已经有人代课，本节代课没有记入。请按“确定”重新调出该教师当天"
                              "的课务。");
        // A swap of the day gives the lesson to a colleague, or puts the substitute in a class
        // then: a cover on top would have two teachers in one class, or one in two.
        if (!c.week.empty())
            for (const auto& t : swapping::inSlot(store, {static_cast<int>(leadingNumber(c.week)),
                                                          weekdayOf(c.weekdayText), c.period})) {
                if (t.owner == c.absent && t.cls == c.cls)
                    throw Failure(Failure::Kind::Usage,
                                  "这节课已调课，由“" + t.taker +
                                      "”老师上，本节代课没有记入。请按“确定”重新调出该教师当天"
                                      "的课务。");
                if (t.taker == c.substitute)
                    throw Failure(Failure::Kind::Usage, "“" + c.substitute + "”老师这节课因调课在" +
                                                            t.cls + "上课，本节代课没有记入。");
            }
        const CoverRecord record{
            c.absent, c.reason,  c.substitute, c.week, weekdayOf(c.weekdayText),
            c.cls,    c.subject, c.period};
        // The queued row of this very lesson: another absent teacher may have a lesson of the
        // same class in the same period, and that one is still to be covered.
        if (severalTeachers)
            queue::removeOne(store, {c.absent, record.weekday, c.cls, c.period, c.subject});
        if (!tallies::addCover(store, c.substitute))
            throw Failure(Failure::Kind::Usage,
                          "代课节数表中没有“" + c.substitute +
                              "”老师的记录，本节代课没有记入。请先运行“数据初始化”→“期初基本操作”"
                              "中的“代课节数初始化”。");
        replaceEarlierTermCover(store, record, lessons);
        covers::appendEverywhere(store, record);
        away::book(store, c.period, c.substitute);
        // Where the timetable holds the lesson twice, the copy not yet covered gets the marks,
        // so that the second cover does not land on the first copy again.
        timetable::setMarks(store, open->row, true, true);
    });
}

std::vector<std::string> taughtClasses(const TeacherRow& teacher) {
    std::vector<std::string> classes;
    auto add = [&](std::string c) {
        if (!c.empty() && std::find(classes.begin(), classes.end(), c) == classes.end())
            classes.push_back(std::move(c));
    };
    if (teacher.headOf) add(*teacher.headOf);
    for (const auto& list : teacher.subjectClasses)
        if (list)
            for (auto& e : classlist::entries(*list)) add(std::move(e));
    return classes;
}

std::vector<std::string> taughtClasses(const std::vector<Value>& row) {
    return taughtClasses(ranking::teacherOf(row));
}

std::vector<Suggestion> findSuggestions(Store& store, std::string_view substitute,
                                        std::string_view weekdayText, int period) {
    std::vector<Suggestion> out;
    const auto teacher = teachers::find(store, substitute);
    if (!teacher) return out;
    for (const auto& cls : taughtClasses(*teacher)) {
        LessonFilter slot;
        slot.weekday = weekdayOf(weekdayText);
        slot.cls = cls;
        slot.period = period;
        const auto queued = queue::read(store, slot);
        if (queued.empty()) continue;
        const auto& q = queued.front();
        out.push_back({q.teacher, std::to_string(q.weekday), q.cls, std::to_string(q.period),
                       q.subject, ranking::affinity(*teacher, cls).letters});
    }
    return out;
}

void releaseHeldBack(Store& store) {
    timetable::releaseHeldBack(store);
}

std::optional<std::string> reasonOfToday(Store& store, std::string_view absent) {
    CoverFilter his;
    his.absent = std::string(absent);
    const auto today = covers::read(store, CoverTable::Today, his);
    if (today.empty()) return std::nullopt;
    return today.front().reason;
}

std::string joinNames(const std::vector<std::string>& names) {
    std::string all;
    for (const auto& n : names) all += (all.empty() ? "" : "、") + n;
    return all;
}

}  // namespace daike::assignment

namespace daike::assignment {

Page pageAt(int rows, int offset) {
    Page p;
    if (offset < 0 || (offset > 0 && offset >= rows)) offset = 0;
    p.first = offset;
    p.count = std::max(0, std::min(kPageRows, rows - offset));
    p.previous = offset > 0;
    p.next = rows - offset > kPageRows;
    return p;
}

}  // namespace daike::assignment
