#include "school/name_search.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "school/names.h"
#include "store/tables/teachers.h"
#include "store/text.h"

namespace daike::names {

namespace {

constexpr std::size_t kMostNear = 5;  // names offered for one slip

// Surnames whose everyday reading is another one. Only the first character of a name is read
// this way; ICU's own reading holds everywhere else.
const std::map<UChar32, std::string>& surnameReadings() {
    static const std::map<UChar32, std::string> readings{
        {U'曾', "zeng"}, {U'单', "shan"}, {U'解', "xie"},  {U'仇', "qiu"},  {U'朴', "piao"},
        {U'区', "ou"},   {U'查', "zha"},  {U'盖', "ge"},   {U'缪', "miao"}, {U'翟', "zhai"},
        {U'乐', "yue"},  {U'尉', "yu"},   {U'覃', "qin"},  {U'召', "shao"}, {U'长', "chang"},
        {U'万', "wan"},  {U'任', "ren"},  {U'沈', "shen"}, {U'那', "na"},   {U'员', "yun"},
    };
    return readings;
}

// The reading of one Han character, toneless and lowercase, from ICU; cached, since building a
// transliterator is slow. Empty when ICU has none.
std::string hanReading(UChar32 c) {
    static std::mutex lock;
    static std::unique_ptr<icu::Transliterator> latin;
    static bool tried = false;
    static std::map<UChar32, std::string> cache;
    const std::lock_guard guard(lock);
    if (const auto it = cache.find(c); it != cache.end()) return it->second;
    if (!tried) {
        tried = true;
        UErrorCode status = U_ZERO_ERROR;
        latin.reset(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        if (U_FAILURE(status)) latin.reset();
    }
    std::string out;
    if (latin) {
        icu::UnicodeString s(c);
        latin->transliterate(s);
        std::string utf8;
        s.toUTF8String(utf8);
        for (char ch : utf8)
            if (ch >= 'a' && ch <= 'z')
                out += ch;
            else if (ch >= 'A' && ch <= 'Z')
                out += static_cast<char>(ch - 'A' + 'a');
    }
    cache.emplace(c, out);
    return out;
}

// A full-width letter or digit as its ASCII one; other characters as they are.
UChar32 halfWidth(UChar32 c) {
    return c >= 0xFF01 && c <= 0xFF5E ? c - 0xFEE0 : c;
}

bool latinOrDigit(UChar32 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The syllables of a name: one per Han character (its reading), one per Latin letter or digit
// (lowercase); blanks and signs give none. Cached per name.
const std::vector<std::string>& syllables(std::string_view name) {
    static std::mutex lock;
    static std::map<std::string, std::vector<std::string>, std::less<>> cache;
    {
        const std::lock_guard guard(lock);
        if (const auto it = cache.find(name); it != cache.end()) return it->second;
    }
    std::vector<std::string> out;
    const auto s =
        icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int>(name.size())));
    bool first = true;
    for (int32_t i = 0; i < s.length(); i = s.moveIndex32(i, 1)) {
        const UChar32 c = halfWidth(s.char32At(i));
        if (u_isUWhiteSpace(c)) continue;
        UErrorCode status = U_ZERO_ERROR;
        if (uscript_getScript(c, &status) == USCRIPT_HAN) {
            const auto& surnames = surnameReadings();
            const auto it = surnames.find(c);
            std::string reading = first && it != surnames.end() ? it->second : hanReading(c);
            if (!reading.empty()) out.push_back(std::move(reading));
        } else if (latinOrDigit(c)) {
            out.emplace_back(1, static_cast<char>(u_tolower(c)));
        }
        first = false;
    }
    const std::lock_guard guard(lock);
    return cache.emplace(std::string(name), std::move(out)).first->second;
}

// What is typed as Latin letters (and digits): lowercase, ASCII, without blanks; empty when
// anything else is in it.
std::string latinQuery(std::string_view typed) {
    const auto s = icu::UnicodeString::fromUTF8(
        icu::StringPiece(typed.data(), static_cast<int>(typed.size())));
    std::string out;
    for (int32_t i = 0; i < s.length(); i = s.moveIndex32(i, 1)) {
        const UChar32 c = halfWidth(s.char32At(i));
        if (u_isUWhiteSpace(c)) continue;
        if (!latinOrDigit(c)) return {};
        out += static_cast<char>(u_tolower(c));
    }
    return out;
}

// Whether a and b (as characters) differ in exactly one place.
bool oneChanged(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    int differ = 0;
    for (std::size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i] ? 1 : 0;
    return differ == 1;
}

// Whether the longer of a and b is the other with one character more.
bool oneAddedOrDropped(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const auto& longer = a.size() > b.size() ? a : b;
    const auto& shorter = a.size() > b.size() ? b : a;
    if (longer.size() != shorter.size() + 1) return false;
    std::size_t i = 0;
    while (i < shorter.size() && shorter[i] == longer[i]) ++i;
    return std::equal(shorter.begin() + static_cast<std::ptrdiff_t>(i), shorter.end(),
                      longer.begin() + static_cast<std::ptrdiff_t>(i) + 1);
}

}  // namespace

std::string pinyinInitials(std::string_view name) {
    std::string out;
    for (const auto& s : syllables(name)) out += s.front();
    return out;
}

std::string fullPinyin(std::string_view name) {
    std::string out;
    for (const auto& s : syllables(name)) out += s;
    return out;
}

std::vector<std::string> completions(const std::vector<std::string>& names,
                                     std::string_view typed) {
    const std::string_view core = text::trimmed(typed);
    if (core.empty()) return {};
    const std::string latin = latinQuery(core);
    // Each name goes to the best group it fits; within a group the stored order stays.
    std::vector<std::vector<std::string>> groups(4);
    std::vector<std::string> seen;
    for (const auto& name : names) {
        const std::string_view n = text::trimmed(name);
        if (n.empty() || std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
        int group = -1;
        if (n.starts_with(core))
            group = 0;
        else if (n.find(core) != std::string_view::npos)
            group = 1;
        else if (!latin.empty() && pinyinInitials(n).starts_with(latin))
            group = 2;
        else if (!latin.empty() && fullPinyin(n).starts_with(latin))
            group = 3;
        if (group < 0) continue;
        seen.push_back(name);
        groups[static_cast<std::size_t>(group)].push_back(name);
    }
    std::vector<std::string> out;
    for (auto& g : groups) out.insert(out.end(), g.begin(), g.end());
    return out;
}

std::vector<std::string> nearNames(const std::vector<std::string>& names, std::string_view typed) {
    const std::string_view core = text::trimmed(typed);
    if (core.empty() || match(names, typed)) return {};
    const auto typedChars = text::characters(core);
    const std::string typedPinyin = fullPinyin(core);
    // Closest first: the same pinyin with one character changed (the input method's slip),
    // the same pinyin, one character changed, one added or dropped.
    std::vector<std::pair<int, std::string>> found;
    for (const auto& name : names) {
        const std::string_view n = text::trimmed(name);
        if (n.empty()) continue;
        const auto chars = text::characters(n);
        const bool samePinyin = !typedPinyin.empty() && fullPinyin(n) == typedPinyin;
        const bool changed = oneChanged(chars, typedChars);
        int rank = -1;
        if (samePinyin && changed)
            rank = 0;
        else if (samePinyin)
            rank = 1;
        else if (changed)
            rank = 2;
        else if (oneAddedOrDropped(chars, typedChars))
            rank = 3;
        if (rank < 0) continue;
        if (std::any_of(found.begin(), found.end(),
                        [&](const auto& f) { return f.second == name; }))
            continue;
        found.emplace_back(rank, name);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (const auto& f : found) {
        if (out.size() == kMostNear) break;
        out.push_back(f.second);
    }
    return out;
}

std::string unknownNameMessage(std::string_view typed, const std::vector<std::string>& near) {
    std::string out = "没有名为“" + std::string(text::trimmed(typed)) + "”的教师。";
    if (near.empty()) return out;
    out += "是不是：";
    for (std::size_t i = 0; i < near.size(); ++i)
        out += (i == 0 ? "" : "、") + std::string(text::trimmed(near[i]));
    return out + "？";
}

Checked<std::string> knownTeacher(const std::vector<std::string>& stored, std::string_view typed) {
    if (auto name = match(stored, typed)) return *name;
    return Refusal{unknownNameMessage(typed, nearNames(stored, typed))};
}

Checked<std::string> knownTeacher(Store& store, std::string_view typed) {
    return knownTeacher(teachers::names(store), typed);
}

}  // namespace daike::names
