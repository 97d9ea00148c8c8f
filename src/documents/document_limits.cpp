#include "documents/document_limits.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace daike::document_limits {

std::string sizeText(std::uint64_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KB";
    return std::to_string(bytes) + " 字节";
}

namespace {

// Just past the first `end` at or after `from`, or `last` when it never comes.
const char* after(const char* from, const char* last, std::string_view end) {
    if (last - from < static_cast<std::ptrdiff_t>(end.size())) return last;
    const void* at = ::memmem(from, static_cast<std::size_t>(last - from), end.data(), end.size());
    return at ? static_cast<const char*>(at) + end.size() : last;
}

bool startsWith(const char* at, const char* last, std::string_view what) {
    return last - at >= static_cast<std::ptrdiff_t>(what.size()) &&
           std::memcmp(at, what.data(), what.size()) == 0;
}

const char* find(const char* from, const char* last, char c) {
    if (from >= last) return last;
    const void* at = std::memchr(from, c, static_cast<std::size_t>(last - from));
    return at ? static_cast<const char*>(at) : last;
}

}  // namespace

bool nestsDeeperThan(std::string_view xml, int limit) {
    int depth = 0;
    const char* p = xml.data();
    const char* const last = p + xml.size();
    while ((p = find(p, last, '<')) < last) {
        const char next = p + 1 < last ? p[1] : '\0';
        if (next == '!') {
            if (startsWith(p, last, "<!--")) {
                p = after(p + 4, last, "-->");
            } else if (startsWith(p, last, "<![CDATA[")) {
                p = after(p + 9, last, "]]>");
            } else {
                // <!DOCTYPE …>, perhaps with an internal subset in brackets.
                const char* close = find(p, last, '>');
                const char* open = find(p, close, '[');
                p = after(open < close ? after(open, last, "]") : close, last, ">");
            }
        } else if (next == '?') {
            p = after(p + 2, last, "?>");
        } else if (next == '/') {
            depth = std::max(0, depth - 1);
            p = find(p + 2, last, '>');
        } else {
            // A start tag: up to its '>' outside quotes; "/>" closes it at once.
            const char* q = p + 1;
            for (; q < last; ++q) {
                const char c = *q;
                if (c == '>') break;
                if (c == '"' || c == '\'') {
                    q = find(q + 1, last, c);
                    if (q == last) break;
                }
            }
            if (q == last) return false;  // cut short: the parser refuses it
            if (q[-1] != '/' && ++depth > limit) return true;
            p = q + 1;
        }
    }
    return false;
}

std::size_t invalidUtf8At(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // Markup is mostly ASCII: eight bytes at a time while none has its high bit.
        while (i + 8 <= n) {
            std::uint64_t eight;
            std::memcpy(&eight, s + i, 8);
            if (eight & 0x8080808080808080ull) break;
            i += 8;
        }
        if (i >= n) break;
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length;
        unsigned min, code;
        if ((c & 0xE0) == 0xC0) {
            length = 2, min = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, min = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, min = 0x10000, code = c & 0x07;
        } else {
            return i;
        }
        if (i + static_cast<std::size_t>(length) > n) return i;
        for (int k = 1; k < length; ++k) {
            const unsigned char d = s[i + static_cast<std::size_t>(k)];
            if ((d & 0xC0) != 0x80) return i;
            code = (code << 6) | (d & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return i;
        i += static_cast<std::size_t>(length);
    }
    return std::string_view::npos;
}

bool declaredUtf8(std::string_view xml) {
    if (xml.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(xml[0]), b1 = static_cast<unsigned char>(xml[1]);
        if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) return false;  // UTF-16/32
        if (b0 == 0 || b1 == 0) return false;  // UTF-16 or UTF-32 without a mark
    }
    if (xml.substr(0, 3) == "\xEF\xBB\xBF") xml.remove_prefix(3);
    if (xml.substr(0, 5) != "<?xml") return true;
    const auto end = xml.find("?>");
    const auto declaration = xml.substr(0, end);
    const auto at = declaration.find("encoding");
    if (at == std::string_view::npos) return true;
    const auto open = declaration.find_first_of("\"'", at);
    if (open == std::string_view::npos) return true;
    const auto close = declaration.find(declaration[open], open + 1);
    std::string name(declaration.substr(
        open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "utf-8" || name == "utf8";
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace daike::document_limits
