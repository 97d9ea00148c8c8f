#include "basedata/classes.h"

#include <cmath>

#include "store/store.h"
#include "store/text.h"
#include "store/week.h"

namespace daike {

namespace {
// The grade columns of 开设课程 follow the course column: 一年级 … 六年级.
std::string gradeColumn(int grade) {
    return std::string(week::kGradeNames.at(static_cast<std::size_t>(grade))) + "年级";
}
}  // namespace

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
    store.transaction([&] {
        store.emptyTable("班级");
        auto rs = store.dkb("select * from 班级");
        for (int g = 0; g < week::kGrades; ++g) {
            for (int n = 1; n <= counts[g]; ++n) {
                rs.addNew();
                rs.set(0, className(g, n));
            }
        }
        rs.update();
    });
    return {ClassCounts::Outcome::Written};
}

void addCourse(Store& store, const std::string& name,
               const std::array<bool, week::kGrades>& grades) {
    store.transaction([&] {
        auto rs = store.dkb("select * from 开设课程");
        rs.addNew();
        rs.set(0, name);
        rs.update();
        for (int g = 0; g < week::kGrades; ++g)
            if (grades[g]) store.putFirstFree("开设课程", gradeColumn(g), name, true);
    });
}

std::optional<std::vector<std::string>> gradeCourses(Store& store, int grade) {
    auto rs = store.dkb("select * from 开设课程");
    if (rs.empty()) return std::nullopt;
    std::vector<std::string> courses;
    for (rs.moveFirst(); !rs.eof() && !rs[grade + 1].isBlank(); rs.moveNext())
        courses.push_back(rs[grade + 1].text());
    return courses;
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
    return store.dkb("select * from 班级").columnText(0);
}

}  // namespace daike
