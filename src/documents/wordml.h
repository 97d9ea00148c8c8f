// Small helpers for reading WordprocessingML with pugixml. Elements are matched by their local
// name, so a document whose writer chose another prefix than "w:" reads the same.
#pragma once

#include <algorithm>
#include <charconv>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace daike::wordml {

inline std::string_view local(pugi::xml_node node) {
    std::string_view n = node.name();
    auto colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

// "w:" for <w:document>, "" when the root has no prefix.
inline std::string prefixOf(pugi::xml_node root) {
    std::string_view n = root.name();
    auto colon = n.find(':');
    return colon == std::string_view::npos ? std::string() : std::string(n.substr(0, colon + 1));
}

inline pugi::xml_node child(pugi::xml_node node, std::string_view name) {
    if (!node) return {};
    for (auto c : node.children())
        if (c.type() == pugi::node_element && local(c) == name) return c;
    return {};
}

inline std::vector<pugi::xml_node> children(pugi::xml_node node, std::string_view name) {
    std::vector<pugi::xml_node> out;
    if (!node) return out;
    for (auto c : node.children())
        if (c.type() == pugi::node_element && local(c) == name) out.push_back(c);
    return out;
}

// Attribute by local name ("w:val" and "val" alike).
inline std::string_view attr(pugi::xml_node node, std::string_view name) {
    if (!node) return {};
    for (auto a : node.attributes()) {
        std::string_view n = a.name();
        auto colon = n.find(':');
        if ((colon == std::string_view::npos ? n : n.substr(colon + 1)) == name) return a.value();
    }
    return {};
}

inline int intAttr(pugi::xml_node node, std::string_view name, int fallback) {
    std::string_view v = attr(node, name);
    if (v.empty()) return fallback;
    long long out = fallback;
    auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
    if (ec != std::errc()) return fallback;
    // No measure of a page comes near a million twips; keeping values within it keeps the
    // arithmetic on them from overflowing.
    constexpr long long kLimit = 1'000'000;
    return static_cast<int>(std::clamp(out, -kLimit, kLimit));
}

// On/off properties (<w:b/>, <w:b w:val="0"/>): present and not switched off.
inline bool isOn(pugi::xml_node node) {
    if (!node) return false;
    std::string_view v = attr(node, "val");
    return !(v == "0" || v == "false" || v == "off" || v == "none");
}

inline void collectDescendants(pugi::xml_node node, std::string_view name,
                               std::vector<pugi::xml_node>& out) {
    for (auto c : node.children()) {
        if (c.type() != pugi::node_element) continue;
        if (local(c) == name) out.push_back(c);
        collectDescendants(c, name, out);
    }
}

inline std::vector<pugi::xml_node> descendants(pugi::xml_node node, std::string_view name) {
    std::vector<pugi::xml_node> out;
    if (node) collectDescendants(node, name, out);
    return out;
}

inline pugi::xml_node descendant(pugi::xml_node node, std::string_view name) {
    if (!node) return {};
    for (auto c : node.children()) {
        if (c.type() != pugi::node_element) continue;
        if (local(c) == name) return c;
        if (auto d = descendant(c, name)) return d;
    }
    return {};
}

// Rows of a table and cells of a row, looking through content controls and custom XML around
// them.
inline void collectWrapped(pugi::xml_node node, std::string_view name,
                           std::vector<pugi::xml_node>& out) {
    for (auto c : node.children()) {
        if (c.type() != pugi::node_element) continue;
        std::string_view n = local(c);
        if (n == name)
            out.push_back(c);
        else if (n == "sdt" || n == "sdtContent" || n == "customXml")
            collectWrapped(c, name, out);
    }
}

inline std::vector<pugi::xml_node> tableRows(pugi::xml_node tbl) {
    std::vector<pugi::xml_node> out;
    collectWrapped(tbl, "tr", out);
    return out;
}

inline std::vector<pugi::xml_node> rowCells(pugi::xml_node tr) {
    std::vector<pugi::xml_node> out;
    collectWrapped(tr, "tc", out);
    return out;
}

}  // namespace daike::wordml
