// A made-up but realistic primary school: teachers with Chinese names, six grades, the courses
// of each grade, a clash-free weekly timetable, head teachers and main-subject classes, a first
// day of term, two exempt teachers, and the term's initialisations already run. New users start
// with it; the benchmarks measure on it and on larger schools made the same way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "school/calendar.h"

namespace daike {

class Store;

namespace demo {

struct Plan {
    int teachers = 45;        // the whole staff, head teachers included
    int classesPerGrade = 3;  // grades 一 to 六
    std::uint32_t seed = 20260831;
    calendar::Day termStart = calendar::makeDay(2026, 8, 31);  // a Monday
};

// The demo school itself: 45 teachers, 18 classes.
Plan demoPlan();
// A school of that many teachers, with as many classes as such a staff teaches (and more than
// nine classes per grade for the large ones).
Plan planFor(int teachers);

// What was written, for the tests and benchmarks.
struct School {
    std::vector<std::string> teachers;  // in 教师姓名 order
    std::vector<std::string> classes;   // in 班级 order
    std::vector<std::string> exempt;    // in 公出表 order
    int lessons = 0;                    // rows of 任课情况
};

// Replaces every table's contents (the password stays) with the school of the plan and runs the
// initialisations of the term, all in one transaction. The same plan gives the same school.
School fillSchool(Store& store, const Plan& plan);

// The Monday four weeks before the day: a demo made today is in week 5 of its term.
calendar::Day termStartBefore(calendar::Day today);

}  // namespace demo
}  // namespace daike
