#include "school/run_values.h"

namespace daike {

std::optional<std::string> RunValues::byName(std::string_view name) const {
    if (name == "首次激活标志") return std::to_string(首次激活标志);
    if (name == "管理操作码") return std::to_string(管理操作码);
    if (name == "无课公出教师") return 无课公出教师;
    if (name == "外出教师名单") {
        std::string all;
        for (const auto& n : 外出教师名单) all += (all.empty() ? "" : ",") + n;
        return all;
    }
    return std::nullopt;
}

bool RunValues::setByName(std::string_view name, const std::string& value) {
    if (name == "无课公出教师") return 无课公出教师 = value, true;
    if (name == "外出教师名单") {
        外出教师名单.clear();
        std::string::size_type from = 0;
        while (from <= value.size() && !value.empty()) {
            const auto comma = value.find(',', from);
            外出教师名单.push_back(value.substr(from, comma - from));
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
        return true;
    }
    return false;
}

}  // namespace daike
