#include "engine/exempt.h"

#include "store/store.h"
#include "store/text.h"

namespace daike::exempt {

std::vector<std::string> list(Store& store) {
    return store.dkb("select * from 公出表").columnText(0);
}

std::string cleanName(std::string_view typed) {
    return std::string(text::trimmed(typed));
}

Outcome add(Store& store, std::string_view typed) {
    const std::string n = cleanName(typed);
    if (n.empty()) return Outcome::NoName;
    if (text::length(n) >= 4) return Outcome::BadName;
    store.transaction([&] {
        auto rs = store.dkb("select * from 公出表");
        rs.addNew();
        rs.set("姓名", n);
        rs.update();
    });
    return Outcome::Done;
}

Outcome remove(Store& store, std::string_view typed) {
    const std::string n = cleanName(typed);
    if (n.empty()) return Outcome::NoName;
    return store.transaction([&] {
        auto rs = store.dkb("select * from 公出表");
        if (!rs.findName(n)) return Outcome::NotFound;
        rs.remove();
        rs.update();
        return Outcome::Done;
    });
}

}  // namespace daike::exempt
