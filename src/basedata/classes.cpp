#include "basedata/classes.h"

#include <tuple>

#include "store/store.h"
#include "store/tables/classes.h"
#include "store/text.h"
#include "store/week.h"

namespace daike {

std::string className(int grade, int number) {
    return std::string(week::kGradeNames.at(static_cast<std::size_t>(grade))) + "(" +
           std::to_string(number) + ")";
}

std::optional<int> classCount(const std::string& box) {
    const auto n = text::wholeNumber(box);
    if (!n || *n > kMaxClassesPerGrade) return std::nullopt;
    return static_cast<int>(*n);
}

Checked<> writeClasses(Store& store, const std::array<std::string, week::kGrades>& boxes,
                       const BackupStep& backup) {
    for (const auto& box : boxes)
        if (text::trimmed(box).empty()) return Refusal{"您还没有输入班级数！"};
    std::array<int, week::kGrades> counts{};
    for (int g = 0; g < week::kGrades; ++g) {
        const auto count = classCount(boxes[g]);
        if (!count)
            return Refusal{std::string(week::kGradeNames[static_cast<std::size_t>(g)]) +
                           "年级的班级数必须是0到" + std::to_string(kMaxClassesPerGrade) +
                           "之间的整数。"};
        counts[g] = *count;
    }
    std::vector<std::string> names;
    for (int g = 0; g < week::kGrades; ++g)
        for (int n = 1; n <= counts[g]; ++n) names.push_back(className(g, n));
    if (backup) backup();
    store.transaction([&] { classes::replaceAll(store, names); });
    return {};
}

Checked<> addCourse(Store& store, const std::string& name,
                    const std::array<bool, week::kGrades>& grades) {
    if (text::trimmed(name).empty()) return Refusal{"请输入开设课程的名称！"};
    store.transaction([&] { courses::add(store, name, grades); });
    return {};
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

bool classBefore(const std::string& a, const std::string& b) {
    const auto key = [](const std::string& cls) {
        const int g = gradeOfClass(cls);
        long number = 0;
        const auto digit = cls.find_first_of("0123456789");
        if (digit != std::string::npos)
            for (auto i = digit; i < cls.size() && cls[i] >= '0' && cls[i] <= '9' && number < 10000;
                 ++i)
                number = number * 10 + (cls[i] - '0');
        return std::tuple(g < 0 ? week::kGrades : g, number);
    };
    const auto ka = key(a), kb = key(b);
    return ka != kb ? ka < kb : a < b;
}

std::vector<std::string> readClasses(Store& store) {
    return classes::names(store);
}

}  // namespace daike
