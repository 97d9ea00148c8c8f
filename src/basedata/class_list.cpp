#include "basedata/class_list.h"

#include "basedata/full_width.h"

namespace daike::classlist {

namespace {

// Every piece between the commas, empty ones included.
std::vector<std::string_view> pieces(std::string_view list) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos) {
            out.push_back(list.substr(start));
            return out;
        }
        out.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace

std::vector<std::string> entries(std::string_view list) {
    std::vector<std::string> out;
    for (auto p : pieces(list))
        if (!p.empty()) out.emplace_back(p);
    return out;
}

bool contains(std::string_view list, std::string_view cls) {
    if (cls.empty()) return false;
    for (auto p : pieces(list))
        if (p == cls) return true;
    return false;
}

std::string add(std::string_view list, std::string_view cls) {
    if (cls.empty() || contains(list, cls)) return std::string(list);
    std::string out(list);
    if (!out.empty() && out.back() != ',') out += ',';
    out += cls;
    return out;
}

std::string remove(std::string_view list, std::string_view cls) {
    if (!contains(list, cls)) return std::string(list);
    std::string out;
    bool removed = false;
    bool first = true;
    for (auto p : pieces(list)) {
        if (!removed && p == cls) {
            removed = true;
            continue;
        }
        if (!first) out += ',';
        out += p;
        first = false;
    }
    // Taking out the first or the last class leaves no comma hanging at that end.
    if (!out.empty() && out.back() == ',') out.pop_back();
    if (!out.empty() && out.front() == ',') out.erase(0, 1);
    return out;
}

std::string clean(std::string_view list) {
    // A comma typed with Chinese input ("，") separates classes as well.
    std::string text = cleanFullWidth(list);
    for (std::size_t at; (at = text.find("，")) != std::string::npos;) text.replace(at, 3, 1, ',');
    std::string out;
    for (const auto& e : entries(text)) {
        if (!out.empty()) out += ',';
        out += e;
    }
    return out;
}

}  // namespace daike::classlist
