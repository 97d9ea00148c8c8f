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

Outcome add(Store& store, std::string_view typed) {
    const std::string n = cleanName(typed);
    if (n.empty()) return Outcome::NoName;
    if (text::length(n) >= 4) return Outcome::BadName;
    store.transaction([&] { exemptlist::add(store, n); });
    return Outcome::Done;
}

Outcome remove(Store& store, std::string_view typed) {
    const std::string n = cleanName(typed);
    if (n.empty()) return Outcome::NoName;
    return store.transaction(
        [&] { return exemptlist::removeOne(store, n) ? Outcome::Done : Outcome::NotFound; });
}

}  // namespace daike::exempt
