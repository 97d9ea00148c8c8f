// The school's shape: the classes of each grade (班级) and the courses each grade offers
// (开设课程).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "store/refusal.h"
#include "store/week.h"

namespace daike {

class Store;

// The class name of class number n of a grade (index 0 for 一): 2 and 2 give 三(2).
std::string className(int grade, int number);

// A class has one or two digits in its name.
inline constexpr int kMaxClassesPerGrade = 99;

// The number of classes a count box asks for: a whole number from 0 to 99, typed with ASCII or
// full-width digits, blanks at the ends dropped. Anything else (a sign, a fraction, a word, a
// longer number) is no count: storing it as none would take the grade's classes away.
std::optional<int> classCount(const std::string& box);

// Replaces the class list with the classes of the counts (one per grade), grade by grade and class
// number ascending. The counts are checked first: an empty box, or one that is not a count, is
// refused, and then nothing is backed up or changed. Otherwise `backup` runs, then the list is
// written in one transaction.
Checked<> writeClasses(Store& store, const std::array<std::string, week::kGrades>& boxes,
                       const BackupStep& backup);

// Stores a course: a row with the name in column 0, and the name in the first free place of
// the column of every ticked grade. A name of blanks only is refused: it would only add an
// empty course.
Checked<> addCourse(Store& store, const std::string& name,
                    const std::array<bool, week::kGrades>& grades);

// The courses of a grade in stored order; nothing when the course table has no rows at all.
std::optional<std::vector<std::string>> gradeCourses(Store& store, int grade);

// The class names of 班级 in table order.
std::vector<std::string> readClasses(Store& store);

// The grade index of a class name (from its first character, blanks ignored), or -1.
int gradeOfClass(const std::string& className);
// Classes as the school counts them: by grade (一 … 六), then by the number in brackets
// (三(2) before 三(10)); a name of another shape after those, in code point order.
bool classBefore(const std::string& a, const std::string& b);

}  // namespace daike
