// Small helpers for the SQL text the store builds itself from known table and column names.
#pragma once

#include <string>
#include <string_view>

namespace daike {

// "name" with any double quote doubled: a safe identifier whatever the name holds.
inline std::string quoteIdentifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace daike
