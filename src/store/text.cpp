#include "store/text.h"

namespace daike::text {

namespace {
std::size_t charLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;  // a stray byte counts as one character
}
}  // namespace

std::vector<std::string> characters(std::string_view s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = std::min(charLength(static_cast<unsigned char>(s[i])), s.size() - i);
        out.emplace_back(s.substr(i, n));
        i += n;
    }
    return out;
}

std::size_t length(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++count)
        i += std::min(charLength(static_cast<unsigned char>(s[i])), s.size() - i);
    return count;
}

std::string mid(std::string_view s, std::size_t start, std::size_t n) {
    std::size_t i = 0, index = 1;
    while (i < s.size() && index < start) {
        i += std::min(charLength(static_cast<unsigned char>(s[i])), s.size() - i);
        ++index;
    }
    const std::size_t from = i;
    for (std::size_t taken = 0; i < s.size() && taken < n; ++taken)
        i += std::min(charLength(static_cast<unsigned char>(s[i])), s.size() - i);
    return std::string(s.substr(from, i - from));
}

std::string_view trimmed(std::string_view s) {
    static constexpr std::string_view kFullWidthBlank = "\u3000";
    auto ascii = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    for (bool changed = true; changed;) {
        changed = false;
        if (!s.empty() && ascii(s.front())) s.remove_prefix(1), changed = true;
        if (!s.empty() && ascii(s.back())) s.remove_suffix(1), changed = true;
        if (s.starts_with(kFullWidthBlank)) s.remove_prefix(kFullWidthBlank.size()), changed = true;
        if (s.ends_with(kFullWidthBlank)) s.remove_suffix(kFullWidthBlank.size()), changed = true;
    }
    return s;
}

int digitValue(std::string_view c) {
    if (c.size() == 1 && c[0] >= '0' && c[0] <= '9') return c[0] - '0';
    // "０" to "９" are U+FF10 to U+FF19: EF BC 90 to EF BC 99.
    if (c.size() == 3 && static_cast<unsigned char>(c[0]) == 0xEF &&
        static_cast<unsigned char>(c[1]) == 0xBC) {
        const int d = static_cast<unsigned char>(c[2]) - 0x90;
        if (d >= 0 && d <= 9) return d;
    }
    return -1;
}

std::optional<long> wholeNumber(std::string_view s, int maxDigits) {
    const auto chars = characters(trimmed(s));
    if (chars.empty() || static_cast<int>(chars.size()) > maxDigits) return std::nullopt;
    long value = 0;
    for (const auto& c : chars) {
        const int d = digitValue(c);
        if (d < 0) return std::nullopt;
        value = value * 10 + d;
    }
    return value;
}

}  // namespace daike::text
