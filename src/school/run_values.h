// The values that live for one run of the program and that every window shares. They are not
// stored in the database; a new run starts with them as below. The working day (当前周次,
// 当前星期, 手选星期标志) is not among them: it has its owner in school/working_day.h; nor is
// 代课方式, the assignment screen's mode, nor the hand-overs between windows (管理操作码 to the
// login, 外出教师名单 and 无课公出教师 from 修改 to 无课公出): each is the argument of the
// window it opens.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace daike {

struct RunValues {
    std::int16_t 首次激活标志 = 0;  // 1 once the start-up question has been asked
    // A value by its name, as text, for tests and scenarios; nothing for an unknown name.
    std::optional<std::string> byName(std::string_view name) const;
};

}  // namespace daike
