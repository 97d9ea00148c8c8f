#include "school/run_values.h"

namespace daike {

std::optional<std::string> RunValues::byName(std::string_view name) const {
    if (name == "首次激活标志") return std::to_string(首次激活标志);
    return std::nullopt;
}

}  // namespace daike
