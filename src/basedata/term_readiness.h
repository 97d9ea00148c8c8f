// Whether the school is ready for a term's cover: the ten set-up steps in the order an office
// takes them (the first day of term, the teachers, the classes, the courses, the timetable, the
// main classes, the exempt teachers, then the three start-of-term initialisations that derive
// the free teachers, the daily counts and the cover counts from the rest), each with what the
// data shows. 开学准备 lists them; the start-up question waits until no step is missing.
#pragma once

#include <string>
#include <vector>

#include "school/calendar.h"

namespace daike {

class Store;

namespace readiness {

enum class Step {
    TermStart,     // 学期首日设定
    Teachers,      // 教师姓名输入
    Classes,       // 班级数目输入
    Courses,       // 课程输入
    Timetable,     // 课务（导入总课表、课务自动导入或手动输入）
    MainClasses,   // 主课班级输入
    Exempt,        // 基本免代教师
    FreeTeachers,  // 空课教师初始化
    DailyCounts,   // 每日节数初始化
    CoverCounts,   // 代课节数初始化
};
inline constexpr int kSteps = 10;

enum class State {
    Done,      // nothing to do
    Missing,   // cover cannot be proposed soundly until it is done
    ToCheck,   // done, but the data asks for a look ("3 位教师没有课务")
    Optional,  // may stay empty
};

struct StepState {
    Step step;
    State state;
    std::string detail;  // what the data shows, one line: "共48位教师", "代课节数尚未初始化"
};

// The step's name as the checklist shows it: "教师姓名输入".
std::string title(Step step);
// "已完成", "未完成", "请核对", "可不设".
std::string stateWord(State state);

// Every step in order, as the store holds the school now; `today` dates the first day of term.
std::vector<StepState> check(Store& store, calendar::Day today);

// No step missing but the first day of term: the day's cover can begin. A school may cover
// before its first day of term is known (the week is then typed on the assignment screen), so
// that step alone does not hold the day back; it still shows 未完成.
bool complete(const std::vector<StepState>& steps);
// The first step still missing, as "下一步：教师姓名输入"; empty when none is.
std::string nextStepLine(const std::vector<StepState>& steps);

}  // namespace readiness
}  // namespace daike
