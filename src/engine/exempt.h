// The teachers never offered as substitutes (公出表), one name per row in the order they were
// added. The same name may stand twice; the list is not checked against 教师姓名.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/refusal.h"

namespace daike {

class Store;

namespace exempt {

// xsgcjs: the names in table order.
std::vector<std::string> list(Store& store);

// The name as typed, without the blanks (ASCII or full-width) around it.
std::string cleanName(std::string_view typed);

// 增加: appends the name (after cleanName) as a new row. Refused when nothing is typed or the
// name has four characters or more.
Checked<> add(Store& store, std::string_view typed);
// 删除: removes the first row holding the name (after cleanName). Refused when nothing is typed
// or the name is not listed.
Checked<> remove(Store& store, std::string_view typed);

}  // namespace exempt
}  // namespace daike
