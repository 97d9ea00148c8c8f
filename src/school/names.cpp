#include "school/names.h"

#include "store/tables/teachers.h"
#include "store/text.h"

namespace daike::names {

std::optional<std::string> match(const std::vector<std::string>& stored, std::string_view given) {
    const std::string_view core = text::trimmed(given);
    std::optional<std::string> loose;
    for (const auto& name : stored) {
        if (name.empty()) continue;  // a row without a name is no teacher
        if (name == given) return name;
        if (!loose && !core.empty() && text::trimmed(name) == core) loose = name;
    }
    return loose;
}

std::optional<std::string> storedTeacher(Store& store, std::string_view given) {
    return match(teachers::names(store), given);
}

std::string storedTeacherName(Store& store, std::string_view given) {
    return storedTeacher(store, given).value_or(std::string(given));
}

}  // namespace daike::names
