// The values that live for one run of the program and that every window shares. They are not
// stored in the database; a new run starts with them as below. The working day (当前周次,
// 当前星期, 手选星期标志) is not among them: it has its owner in school/working_day.h; nor is
// 代课方式, the assignment screen's mode.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace daike {

struct RunValues {
    std::int16_t 首次激活标志 = 0;          // 1 once the start-up question has been asked
    std::int16_t 管理操作码 = 0;            // the operation waiting for the administrator password
    std::vector<std::string> 外出教师名单;  // absent teachers of the several-teachers entry
    std::string 无课公出教师;               // hand-over from the modification window
    // A value by its name, as text, for tests and scenarios; nothing for an unknown name.
    std::optional<std::string> byName(std::string_view name) const;
    // Sets a value by its name from text, for scenarios; false for an unknown name.
    bool setByName(std::string_view name, const std::string& value);
};

}  // namespace daike
