#include "basedata/term_readiness.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "school/term_start.h"
#include "store/store.h"
#include "store/tables/classes.h"
#include "store/tables/daily_counts.h"
#include "store/tables/exempt_list.h"
#include "store/tables/free_slots.h"
#include "store/tables/tallies.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike::readiness {

namespace {

// A term is about twenty weeks; a first day further back is most likely last term's.
constexpr int kLongestTerm = 26;

std::string n(std::size_t count) {
    return std::to_string(count);
}

StepState termStart(Store& store, calendar::Day today) {
    const auto text = readTermStartText(store);
    if (!text || text->empty()) return {Step::TermStart, State::Missing, "学期首日尚未设定"};
    const auto day = readTermStart(store);
    if (!day)
        return {Step::TermStart, State::Missing, "学期首日“" + *text + "”不是一个日期，请重新设定"};
    const int week = calendar::weekNumber(*day, today);
    const std::string when = "开学第一天：" + chineseDate(*day);
    if (week < 1) return {Step::TermStart, State::ToCheck, when + "，还在今天之后"};
    if (week > kLongestTerm)
        return {Step::TermStart, State::ToCheck,
                when + "，今天已是第" + std::to_string(week) + "周；新学期请重新设定"};
    return {Step::TermStart, State::Done, when + "，今天是第" + std::to_string(week) + "周"};
}

// The grades (index grade - 1) that have at least one class.
std::array<bool, week::kGrades> gradesWithClasses(const std::vector<std::string>& classNames) {
    std::array<bool, week::kGrades> out{};
    for (const auto& c : classNames)
        for (int g = 0; g < week::kGrades; ++g)
            if (c.starts_with(week::kGradeNames[static_cast<std::size_t>(g)]))
                out[static_cast<std::size_t>(g)] = true;
    return out;
}

StepState courses(Store& store, const std::vector<std::string>& classNames) {
    const auto grades = gradesWithClasses(classNames);
    std::string without;
    int withClasses = 0, offered = 0;
    for (int g = 0; g < week::kGrades; ++g) {
        if (!grades[static_cast<std::size_t>(g)]) continue;
        ++withClasses;
        const auto list = courses::ofGrade(store, g);
        if (list && !list->empty()) {
            ++offered;
            continue;
        }
        if (!without.empty()) without += "、";
        without += std::string(week::kGradeNames[static_cast<std::size_t>(g)]) + "年级";
    }
    if (withClasses == 0) {
        // Without classes the courses cannot be told per grade; any course at all counts.
        for (int g = 0; g < week::kGrades; ++g)
            if (auto list = courses::ofGrade(store, g); list && !list->empty())
                return {Step::Courses, State::Done, "已开设课程"};
        return {Step::Courses, State::Missing, "还没有输入课程"};
    }
    if (offered == 0) return {Step::Courses, State::Missing, "还没有输入课程"};
    if (!without.empty()) return {Step::Courses, State::ToCheck, without + "没有开设课程"};
    return {Step::Courses, State::Done,
            n(static_cast<std::size_t>(offered)) + "个年级都已开设课程"};
}

StepState timetableStep(const std::vector<std::string>& teacherNames,
                        const std::vector<TimetableRow>& lessons) {
    if (lessons.empty()) return {Step::Timetable, State::Missing, "还没有课务"};
    std::unordered_set<std::string> teaching, listed(teacherNames.begin(), teacherNames.end());
    std::size_t strangers = 0;
    for (const auto& l : lessons) {
        teaching.insert(l.teacher);
        if (!listed.count(l.teacher)) ++strangers;
    }
    std::size_t idle = 0;
    for (const auto& t : teacherNames)
        if (!teaching.count(t)) ++idle;
    std::string notes;
    if (idle) notes = n(idle) + " 位教师没有课务";
    if (strangers) {
        if (!notes.empty()) notes += "，";
        notes += n(strangers) + " 节课的教师不在教师名单中";
    }
    if (!notes.empty()) return {Step::Timetable, State::ToCheck, "任课情况：" + notes};
    return {Step::Timetable, State::Done, "共" + n(lessons.size()) + "节课"};
}

StepState mainClasses(const std::vector<TeacherRow>& rows,
                      const std::vector<std::string>& classes) {
    std::size_t withAny = 0;
    std::set<std::string> headed;
    for (const auto& r : rows) {
        bool any = false;
        for (int k = 0; k < TeacherRow::kClassValues; ++k)
            if (r.classValue(k) && !r.classValue(k)->empty()) any = true;
        if (any) ++withAny;
        if (r.headOf && !r.headOf->empty()) headed.insert(*r.headOf);
    }
    if (withAny == 0) return {Step::MainClasses, State::ToCheck, "还没有填写班主任和主课班级"};
    std::size_t noHead = 0;
    for (const auto& c : classes)
        if (!c.empty() && !headed.count(c)) ++noHead;
    if (noHead) return {Step::MainClasses, State::ToCheck, n(noHead) + " 个班没有班主任"};
    return {Step::MainClasses, State::Done, n(withAny) + "位教师已填写主课班级"};
}

// The free teachers of each slot as the timetable makes them, in 教师姓名 order.
bool freeTeachersMatch(Store& store, const std::vector<std::string>& teacherNames,
                       const std::vector<TimetableRow>& lessons) {
    std::array<std::unordered_set<std::string>, week::kSlots> busy;
    for (const auto& l : lessons)
        if (l.onGrid && week::isWeekday(l.weekday) && week::isPeriod(l.period))
            busy[static_cast<std::size_t>(week::slotIndex(l.weekday, l.period))].insert(l.teacher);
    for (int w = 1; w <= week::kDays; ++w)
        for (int p = 1; p <= week::kPeriods; ++p) {
            const auto& b = busy[static_cast<std::size_t>(week::slotIndex(w, p))];
            std::vector<std::string> want;
            for (const auto& t : teacherNames)
                if (!t.empty() && !b.count(t)) want.push_back(t);
            if (freeslots::freeIn(store, w, p) != want) return false;
        }
    return true;
}

StepState freeTeachers(Store& store, const std::vector<std::string>& teacherNames,
                       const std::vector<TimetableRow>& lessons) {
    bool any = false;
    for (int w = 1; w <= week::kDays && !any; ++w)
        for (int p = 1; p <= week::kPeriods && !any; ++p)
            any = !freeslots::freeIn(store, w, p).empty();
    if (!any) return {Step::FreeTeachers, State::Missing, "空课教师表尚未初始化"};
    if (!freeTeachersMatch(store, teacherNames, lessons))
        return {Step::FreeTeachers, State::ToCheck, "教师或课务改过之后还没有重新初始化"};
    return {Step::FreeTeachers, State::Done, "与课务一致"};
}

StepState dailyCounts(Store& store, const std::vector<std::string>& teacherNames) {
    const auto rows = dailycounts::all(store);
    if (rows.empty()) return {Step::DailyCounts, State::Missing, "每日节数尚未初始化"};
    const auto counted = timetable::lessonsPerWeekday(store);
    std::unordered_map<std::string, const DailyCount*> stored;
    for (const auto& r : rows)
        if (r.name) stored.emplace(*r.name, &r);
    for (const auto& t : teacherNames) {
        if (t.empty()) continue;
        const auto s = stored.find(t);
        if (s == stored.end())
            return {Step::DailyCounts, State::ToCheck, "“" + t + "”还没有每日节数，请重新初始化"};
        const auto c = counted.find(t);
        for (std::size_t w = 0; w < s->second->lessons.size(); ++w) {
            const double want = c == counted.end() ? 0.0 : static_cast<double>(c->second[w]);
            if (s->second->lessons[w] != want)
                return {Step::DailyCounts, State::ToCheck, "课务改过之后还没有重新初始化"};
        }
    }
    return {Step::DailyCounts, State::Done, "与课务一致"};
}

StepState coverCounts(Store& store, const std::vector<std::string>& teacherNames) {
    const auto rows = tallies::all(store);
    if (rows.empty()) return {Step::CoverCounts, State::Missing, "代课节数尚未初始化"};
    std::unordered_set<std::string> counted;
    double term = 0;
    for (const auto& r : rows) {
        counted.insert(r.name);
        term += r.term;
    }
    std::size_t missing = 0;
    for (const auto& t : teacherNames)
        if (!t.empty() && !counted.count(t)) ++missing;
    if (missing)
        // Initialising again mid-term would set every teacher's count back to 0: the office
        // decides, the checklist only says so.
        return {Step::CoverCounts, State::ToCheck,
                n(missing) + " 位教师还没有代课节数（重新初始化会把全部代课节数清零）"};
    return {Step::CoverCounts, State::Done,
            "本学期已代课" + std::to_string(static_cast<long long>(term)) + "节"};
}

}  // namespace

std::string title(Step step) {
    switch (step) {
        case Step::TermStart:
            return "学期首日设定";
        case Step::Teachers:
            return "教师姓名输入";
        case Step::Classes:
            return "班级数目输入";
        case Step::Courses:
            return "课程输入";
        case Step::Timetable:
            return "课务输入";
        case Step::MainClasses:
            return "主课班级输入";
        case Step::Exempt:
            return "基本免代教师";
        case Step::FreeTeachers:
            return "空课教师初始化";
        case Step::DailyCounts:
            return "每日节数初始化";
        case Step::CoverCounts:
            return "代课节数初始化";
    }
    return {};
}

std::string stateWord(State state) {
    switch (state) {
        case State::Done:
            return "已完成";
        case State::Missing:
            return "未完成";
        case State::ToCheck:
            return "请核对";
        case State::Optional:
            return "可不设";
    }
    return {};
}

std::vector<StepState> check(Store& store, calendar::Day today) {
    std::vector<StepState> out;
    const auto rows = teachers::all(store);
    std::vector<std::string> names;
    for (const auto& r : rows)
        if (r.name && !r.name->empty()) names.push_back(*r.name);
    const auto classNames = classes::names(store);
    const auto lessons = timetable::read(store);

    out.push_back(termStart(store, today));
    out.push_back(names.empty()
                      ? StepState{Step::Teachers, State::Missing, "还没有输入教师"}
                      : StepState{Step::Teachers, State::Done, "共" + n(names.size()) + "位教师"});
    std::size_t classCount = 0;
    for (const auto& c : classNames)
        if (!c.empty()) ++classCount;
    out.push_back(classCount == 0
                      ? StepState{Step::Classes, State::Missing, "还没有输入班级"}
                      : StepState{Step::Classes, State::Done, "共" + n(classCount) + "个班"});
    out.push_back(courses(store, classNames));
    out.push_back(timetableStep(names, lessons));
    out.push_back(mainClasses(rows, classNames));
    const auto exempt = exemptlist::names(store);
    out.push_back({Step::Exempt, exempt.empty() ? State::Optional : State::Done,
                   exempt.empty() ? "没有基本免代教师" : n(exempt.size()) + "位基本免代教师"});
    out.push_back(freeTeachers(store, names, lessons));
    out.push_back(dailyCounts(store, names));
    out.push_back(coverCounts(store, names));
    return out;
}

bool complete(const std::vector<StepState>& steps) {
    return std::none_of(steps.begin(), steps.end(), [](const StepState& s) {
        return s.state == State::Missing && s.step != Step::TermStart;
    });
}

std::string nextStepLine(const std::vector<StepState>& steps) {
    for (const auto& s : steps)
        if (s.state == State::Missing) return "下一步：" + title(s.step);
    return {};
}

}  // namespace daike::readiness
