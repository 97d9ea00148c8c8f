// Each teacher's 主班 (the class the teacher is head teacher of) and the classes in which the
// teacher teaches 语文, 数学, 英语 and 科学, kept in the teacher's row of 教师姓名 after 姓名.
// The ranking of substitutes reads them to put the class's own teachers first.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/refusal.h"
#include "store/week.h"

namespace daike {

class Store;

namespace mainclasses {

// The values in column order after 姓名: 班主任, then the main subjects; the window shows
// 班主任 as "主班".
inline constexpr int kValues = 1 + week::kMainSubjects;
constexpr std::array<std::string_view, kValues> headThenMainSubjects(std::string_view head) {
    std::array<std::string_view, kValues> out{head};
    for (std::size_t k = 0; k < week::kMainSubjectNames.size(); ++k)
        out[k + 1] = week::kMainSubjectNames[k];
    return out;
}
inline constexpr std::array<std::string_view, kValues> kCaptions = headThenMainSubjects("主班");

struct Teacher {
    std::string name;
    std::array<std::string, kValues> values;  // a Null field reads as ""
};

// The rows of 教师姓名 in stored order.
std::vector<Teacher> readTeachers(Store& store);

// The classes of 班级 by grade (一 … 六), each grade in table order; names whose first
// character is no grade are left out.
std::array<std::vector<std::string>, week::kGrades> classesByGrade(Store& store);

// One teacher on screen: the values as loaded and as edited, and the subject whose classes the
// class boxes tick.
class Editor {
  public:
    void load(const Teacher& t);
    const Teacher& shown() const { return shown_; }
    const std::string& loadedName() const { return loaded_.name; }

    void setName(std::string name) { shown_.name = std::move(name); }
    void setValue(int k, std::string value);

    // The subject (0 主班 … 4 科学) whose list the class boxes show, or -1.
    int subject() const { return subject_; }
    void choose(int k);
    void clearSubject() { subject_ = -1; }

    // A class box ticked (on) or unticked: the class is added to or removed from the chosen
    // subject's list. A class that is not in the list (typed away by hand) is left alone.
    // Refused while no subject is chosen.
    Checked<> tick(std::string_view cls, bool on);
    // Whether the class box of a class shows ticked: its class is in the chosen subject's list.
    bool ticked(std::string_view cls) const;

    // Whether one of the five values differs from what was loaded (the name is not compared).
    bool changed() const;

  private:
    Teacher loaded_;
    Teacher shown_;
    int subject_ = -1;
};

// Stores the five values of the teacher shown, each cleaned (full-width brackets and digits,
// blanks, empty pieces of a list); an empty value becomes Null. The name is never written: the
// row keeps its stored name, whatever the name box shows. The row is the one at `position`
// (1-based, in stored order) while it still has the loaded name, otherwise the first row with
// the loaded name; refused, with nothing stored, when the teacher is no longer listed.
Checked<> storeTeacher(Store& store, int position, const std::string& loadedName,
                       const Teacher& shown);

}  // namespace mainclasses
}  // namespace daike
