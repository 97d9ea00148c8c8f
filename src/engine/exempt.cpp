#include "engine/exempt.h"

#include "store/store.h"
#include "store/text.h"

namespace daike::exempt {

std::vector<std::string> list(Store& store) {
    return store.dkb("select * from 公出表").columnText(0);
}

std::string cleanName(std::string_view typed) {
    auto chars = text::characters(typed);
    auto blank = [](const std::string& c) {
        return c == " " || c == "\t" || c == "\u3000" || c == "\r" || c == "\n";
    };
    std::size_t b = 0, e = chars.size();
    while (b < e && blank(chars[b])) ++b;
    while (e > b && blank(chars[e - 1])) --e;
    std::string out;
    for (std::size_t i = b; i < e; ++i) out += chars[i];
    return out;
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
