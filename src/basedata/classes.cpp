#include "basedata/classes.h"

#include <cmath>

#include "store/store.h"
#include "store/tables/classes.h"
#include "store/text.h"
#include "store/week.h"

namespace daike {

std::string className(int grade, int number) {
    return std::string(week::kGradeNames.at(static_cast<std::size_t>(grade))) + "(" +
           std::to_string(number) + ")";
}

int classCount(const std::string& box) {
    if (box == "0") return 0;
    const double n = std::floor(leadingNumber(box));
    if (!(n > 0)) return 0;
    return n > 1e6 ? 1000000 : static_cast<int>(n);
}

ClassCounts writeClasses(Store& store, const std::array<std::string, week::kGrades>& boxes) {
    for (const auto& box : boxes)
        if (box.empty()) return {ClassCounts::Outcome::Missing};
    std::array<int, week::kGrades> counts{};
    for (int g = 0; g < week::kGrades; ++g) {
        counts[g] = classCount(boxes[g]);
        if (counts[g] > kMaxClassesPerGrade) return {ClassCounts::Outcome::TooMany, g};
    }
    std::vector<std::string> names;
    for (int g = 0; g < week::kGrades; ++g)
        for (int n = 1; n <= counts[g]; ++n) names.push_back(className(g, n));
    store.transaction([&] { classes::replaceAll(store, names); });
    return {ClassCounts::Outcome::Written};
}

void addCourse(Store& store, const std::string& name,
               const std::array<bool, week::kGrades>& grades) {
    store.transaction([&] { courses::add(store, name, grades); });
}

std::optional<std::vector<std::string>> gradeCourses(Store& store, int grade) {
    return courses::ofGrade(store, grade);
}

int gradeOfClass(const std::string& name) {
    std::string first;
    for (const auto& c : text::characters(name)) {
        if (c == " " || c == "\u3000") continue;
        first = c;
        break;
    }
    for (int g = 0; g < week::kGrades; ++g)
        if (first == week::kGradeNames[static_cast<std::size_t>(g)]) return g;
    return -1;
}

std::vector<std::string> readClasses(Store& store) {
    return classes::names(store);
}

}  // namespace daike
