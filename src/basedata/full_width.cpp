#include "basedata/full_width.h"

#include "store/text.h"

namespace daike {

std::string cleanFullWidth(std::string_view s) {
    static const std::string_view fullDigits[] = {"１", "２", "３", "４", "５",
                                                  "６", "７", "８", "９"};
    std::string out;
    out.reserve(s.size());
    for (const auto& c : text::characters(s)) {
        if (c == " " || c == "\u3000") continue;
        if (c == "（") {
            out += '(';
        } else if (c == "）") {
            out += ')';
        } else {
            bool digit = false;
            for (int d = 0; d < 9 && !digit; ++d) {
                if (c == fullDigits[d]) {
                    out += static_cast<char>('1' + d);
                    digit = true;
                }
            }
            if (!digit) out += c;
        }
    }
    return out;
}

}  // namespace daike
