#include "basedata/full_width.h"

#include "store/text.h"

namespace daike {

std::string cleanFullWidth(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (const auto& c : text::characters(s)) {
        if (c == " " || c == "\u3000") continue;
        if (c == "（") {
            out += '(';
        } else if (c == "）") {
            out += ')';
        } else if (const int d = text::digitValue(c); d > 0 && c.size() > 1) {
            out += static_cast<char>('0' + d);  // a full-width zero stays as it is
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace daike
