#include "documents/document_limits.h"

#include <algorithm>
#include <cctype>

namespace daike::document_limits {

std::string sizeText(std::uint64_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KB";
    return std::to_string(bytes) + " 字节";
}

namespace {

// Position just past `end` from `from`, or the text's end when it never comes.
std::size_t after(std::string_view xml, std::size_t from, std::string_view end) {
    const auto at = xml.find(end, from);
    return at == std::string_view::npos ? xml.size() : at + end.size();
}

bool startsAt(std::string_view xml, std::size_t at, std::string_view what) {
    return xml.substr(at, what.size()) == what;
}

}  // namespace

bool nestsDeeperThan(std::string_view xml, int limit) {
    int depth = 0;
    std::size_t i = 0;
    while ((i = xml.find('<', i)) != std::string_view::npos) {
        if (startsAt(xml, i, "<!--")) {
            i = after(xml, i + 4, "-->");
        } else if (startsAt(xml, i, "<![CDATA[")) {
            i = after(xml, i + 9, "]]>");
        } else if (startsAt(xml, i, "<?")) {
            i = after(xml, i + 2, "?>");
        } else if (startsAt(xml, i, "<!")) {
            // <!DOCTYPE …>, perhaps with an internal subset in brackets.
            const auto close = xml.find('>', i);
            const auto open = xml.find('[', i);
            i = open < close ? after(xml, open, "]") : close;
            i = i == std::string_view::npos ? xml.size() : after(xml, i, ">");
        } else if (startsAt(xml, i, "</")) {
            depth = std::max(0, depth - 1);
            i = after(xml, i + 2, ">");
        } else {
            // A start tag: up to its '>' outside quotes; "/>" closes it at once.
            std::size_t j = i + 1;
            char quote = 0;
            bool closed = false;
            for (; j < xml.size(); ++j) {
                const char c = xml[j];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    closed = xml[j - 1] == '/';
                    break;
                }
            }
            if (!closed && ++depth > limit) return true;
            i = j;
        }
    }
    return false;
}

std::size_t invalidUtf8At(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
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
