#include "engine/exempt.h"

#include "store/store.h"
#include "store/tables/exempt_list.h"
#include "store/text.h"

namespace daike::exempt {

std::vector<std::string> list(Store& store) {
    return exemptlist::names(store);
}

std::string cleanName(std::string_view typed) {
    return std::string(text::trimmed(typed));
}

namespace {
const Refusal kNoName{"您还没有输入教师姓名！"};
}  // namespace

Checked<> add(Store& store, std::string_view typed) {
    const std::string n = cleanName(typed);
    if (n.empty()) return kNoName;
    if (text::length(n) >= 4) return Refusal{"您输入教师不正确！"};
    store.transaction([&] { exemptlist::add(store, n); });
    return {};
}

Checked<> remove(Store& store, std::string_view typed) {
    const std::string n = cleanName(typed);
    if (n.empty()) return kNoName;
    if (!store.transaction([&] { return exemptlist::removeOne(store, n); }))
        return Refusal{"找不到该教师！"};
    return {};
}

}  // namespace daike::exempt
