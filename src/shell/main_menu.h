// The main menu of Form2, item by item in its order.
#pragma once

#include <vector>

namespace daike::menu {

enum class Kind { TopLevel, Submenu, Item, Separator };

struct Entry {
    const char* name;     // the item's name, also its objectName
    const char* caption;  // with its access key
    Kind kind;
    int depth;             // 0 top level, 1 under it, 2 under a submenu
    const char* shortcut;  // "" for none
};

const std::vector<Entry>& entries();

}  // namespace daike::menu
