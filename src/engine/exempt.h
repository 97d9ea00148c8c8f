// The teachers never offered as substitutes (公出表), one name per row in the order they were
// added. The same name may stand twice; the list is not checked against 教师姓名.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace daike {

class Store;

namespace exempt {

// xsgcjs: the names in table order.
std::vector<std::string> list(Store& store);

enum class Outcome {
    Done,      // added, or the first matching row removed
    NoName,    // nothing typed: "您还没有输入教师姓名！"
    BadName,   // four characters or more: "您输入教师不正确！"
    NotFound,  // removal of a name not listed: "找不到该教师！"
};

// The name as typed, without the blanks (ASCII or full-width) around it.
std::string cleanName(std::string_view typed);

// 增加: appends the name (after cleanName) as a new row.
Outcome add(Store& store, std::string_view typed);
// 删除: removes the first row holding the name (after cleanName).
Outcome remove(Store& store, std::string_view typed);

}  // namespace exempt
}  // namespace daike
