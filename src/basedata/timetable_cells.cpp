#include "basedata/timetable_cells.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "basedata/full_width.h"
#include "basedata/timetable_sheets.h"
#include "school/names.h"
#include "store/text.h"
#include "store/week.h"

namespace daike::timetable_sheets {

namespace cells {

namespace {

// The numerals one to nine, for grades and periods written in words.
// clang-format off
constexpr std::array<std::string_view, 9> kNumerals = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};  // not the week
// clang-format on

// 一 … 九 → 1 … 9; 0 for anything else.
int numeral(std::string_view c) {
    for (std::size_t i = 0; i < kNumerals.size(); ++i)
        if (kNumerals[i] == c) return static_cast<int>(i) + 1;
    return 0;
}

bool asciiDigit(const std::string& c) {
    return c.size() == 1 && c[0] >= '0' && c[0] <= '9';
}

bool opening(const std::string& c) {
    return c == "(" || c == "[" || c == "【" || c == "〔";
}
bool closing(const std::string& c) {
    return c == ")" || c == "]" || c == "】" || c == "〕";
}

// Up to three ASCII digits from i; the value, and i moves past them.
std::optional<int> digitsAt(const std::vector<std::string>& chars, std::size_t& i) {
    int value = 0, count = 0;
    while (i < chars.size() && asciiDigit(chars[i]) && count < 3) {
        value = value * 10 + (chars[i][0] - '0');
        ++i;
        ++count;
    }
    if (count == 0 || (i < chars.size() && asciiDigit(chars[i]))) return std::nullopt;
    return value;
}

// A class written from i: grade, 年级 or 年, then (n) or n班. Ends at the end index.
std::optional<ClassAt> classFrom(const std::vector<std::string>& chars, std::size_t i) {
    if (i >= chars.size()) return std::nullopt;
    ClassAt at;
    at.begin = i;
    const auto& g = chars[i];
    if (const int n = numeral(g)) {
        at.grade = n;
    } else if (asciiDigit(g) && g[0] != '0') {
        at.grade = g[0] - '0';
    } else {
        return std::nullopt;
    }
    ++i;
    if (i < chars.size() && chars[i] == "年") {
        ++i;
        if (i < chars.size() && chars[i] == "级") ++i;
    }
    if (i < chars.size() && chars[i] == "(") {
        ++i;
        const auto n = digitsAt(chars, i);
        if (!n || i >= chars.size() || chars[i] != ")") return std::nullopt;
        ++i;
        at.number = *n;
        // "一(1)班语文" names the class with its 班; in "一(1)班队" and "一(1)班会" the 班 begins
        // the subject (the class meeting every timetable has).
        if (i < chars.size() && chars[i] == "班" &&
            !(i + 1 < chars.size() && (chars[i + 1] == "队" || chars[i + 1] == "会")))
            ++i;
    } else {
        auto n = digitsAt(chars, i);
        // "一年级二班": a class number in words, after 年级 only (一二班 is no class name).
        if (!n && i > at.begin + 1 && i < chars.size() && numeral(chars[i]))
            n = numeral(chars[i++]);
        if (!n || i >= chars.size() || chars[i] != "班") return std::nullopt;
        ++i;
        at.number = *n;
    }
    at.end = i;
    return at;
}

std::optional<ClassAt> classAt(const std::vector<std::string>& chars, std::size_t i) {
    if (opening(chars[i])) {
        if (auto inner = classFrom(chars, i + 1);
            inner && inner->end < chars.size() && closing(chars[inner->end])) {
            inner->begin = i;
            ++inner->end;
            return inner;
        }
    }
    return classFrom(chars, i);
}

std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\n') out += c;
    return out;
}

}  // namespace

std::string plain(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const auto chars = text::characters(text);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const auto& c = chars[i];
        if (c == "（") {
            out += '(';
        } else if (c == "）") {
            out += ')';
        } else if (c == "／") {
            out += '/';
        } else if (c == "－" || c == "—" || c == "–") {
            out += '-';
        } else if (c == "\u3000" || c == "\t") {
            out += ' ';
        } else if (c == "\r") {
            out += '\n';
            if (i + 1 < chars.size() && chars[i + 1] == "\n") ++i;
        } else if (const int d = text::digitValue(c); d >= 0) {
            out += static_cast<char>('0' + d);
        } else if (c == "\a" || c == "\v") {
            out += '\n';
        } else {
            out += c;
        }
    }
    return out;
}

std::string squeezed(std::string_view text) {
    return withoutBlanks(plain(text));
}

std::string ClassAt::name() const {
    return std::string(kNumerals[static_cast<std::size_t>(grade - 1)]) + "(" +
           std::to_string(number) + ")";
}

bool ClassAt::valid() const {
    return grade >= 1 && grade <= week::kGrades && number >= 1 && number <= 99;
}

std::optional<ClassAt> findClass(const std::vector<std::string>& chars) {
    for (std::size_t i = 0; i < chars.size(); ++i)
        if (auto at = classAt(chars, i)) return at;
    return std::nullopt;
}

std::optional<ClassAt> wholeClass(std::string_view text) {
    const auto chars = text::characters(squeezed(text));
    if (chars.empty()) return std::nullopt;
    auto at = classAt(chars, 0);
    if (!at) return std::nullopt;
    if (at->end + 1 == chars.size() && chars[at->end] == "班") ++at->end;
    if (at->end != chars.size()) return std::nullopt;
    return at;
}

bool validClassName(std::string_view name) {
    const auto at = wholeClass(name);
    return at && at->valid();
}

std::optional<int> weekdayOnly(std::string_view text) {
    std::string s = squeezed(text);
    for (std::string_view prefix : {"星期", "礼拜", "周"}) {
        if (s.starts_with(prefix)) {
            const std::string rest = s.substr(prefix.size());
            const int n = numeral(rest);
            if (n >= 1 && n <= week::kDays) return n;
            if (rest.size() == 1 && rest[0] >= '1' && rest[0] - '0' <= week::kDays)
                return rest[0] - '0';
            return std::nullopt;
        }
    }
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    constexpr std::array<std::string_view, week::kDays> english = {"mon", "tue", "wed", "thu",
                                                                   "fri"};
    for (std::size_t d = 0; d < english.size(); ++d)
        if (s == english[d] || (s.size() > 3 && s.starts_with(english[d]) &&
                                std::all_of(s.begin() + 3, s.end(),
                                            [](unsigned char c) { return std::isalpha(c) != 0; })))
            return static_cast<int>(d) + 1;
    return std::nullopt;
}

std::optional<int> periodOnly(std::string_view text) {
    const auto chars = text::characters(squeezed(text));
    std::size_t i = 0, end = chars.size();
    if (i < end && chars[i] == "第") ++i;
    if (end >= 2 && chars[end - 2] == "节" && chars[end - 1] == "课") end -= 2;
    if (end > i && chars[end - 1] == "节") --end;
    if (i >= end) return std::nullopt;
    if (end - i == 1 && numeral(chars[i])) return numeral(chars[i]);
    const std::vector<std::string> digits(chars.begin() + static_cast<long>(i),
                                          chars.begin() + static_cast<long>(end));
    std::size_t j = 0;
    const auto n = digitsAt(digits, j);
    if (!n || j != digits.size()) return std::nullopt;
    return n;
}

bool noLesson(std::string_view text) {
    for (const auto& c : text::characters(squeezed(text)))
        if (c != "-" && c != "/" && c != "\\" && c != "_" && c != "." && c != "·" && c != "无" &&
            c != "空")
            return false;
    return true;
}

bool noLessonLabel(std::string_view text) {
    const std::string s = squeezed(text);
    for (std::string_view word : {"早读", "晨读", "午休", "午睡", "课外活动", "眼保健操", "大课间"})
        if (s.find(word) != std::string::npos) return true;
    return false;
}

}  // namespace cells

using cells::squeezed;

std::optional<std::string> className(std::string_view text) {
    const auto at = cells::wholeClass(text);
    if (!at || !at->valid()) return std::nullopt;
    return at->name();
}

std::optional<Slot> slotOf(std::string_view header) {
    const std::string s = squeezed(header);
    if (s.empty()) return std::nullopt;
    // "1-1": weekday, dash, period.
    if (const auto dash = s.find('-'); dash != std::string::npos) {
        const auto w = cells::periodOnly(s.substr(0, dash));
        const auto p = cells::periodOnly(s.substr(dash + 1));
        if (!w || !p || s.substr(0, dash).find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        if (*w < 1 || *w > week::kDays || *p < 1 || *p > week::kPeriods) return std::nullopt;
        return Slot{*w, *p};
    }
    const auto chars = text::characters(s);
    // The longest beginning that names a weekday; the rest names the period.
    for (std::size_t cut = std::min<std::size_t>(chars.size() - 1, 6); cut >= 1; --cut) {
        std::string head, rest;
        for (std::size_t i = 0; i < chars.size(); ++i) (i < cut ? head : rest) += chars[i];
        std::optional<int> w = cells::weekdayOnly(head);
        if (!w && cut == 1) {
            // "一1", "一第1节": a bare weekday numeral needs a written period after it.
            const int n = cells::numeral(head);
            if (n >= 1 && n <= week::kDays &&
                (rest.starts_with("第") || cells::asciiDigit(chars[1])))
                w = n;
        }
        if (!w) continue;
        const auto p = cells::periodOnly(rest);
        if (!p || *p < 1 || *p > week::kPeriods) return std::nullopt;
        return Slot{*w, *p};
    }
    return std::nullopt;
}

namespace {

std::string trimmedCopy(std::string_view s) {
    return std::string(text::trimmed(s));
}

// The bits of a cell between its separators (each one character).
std::vector<std::string> splitOn(const std::string& s,
                                 std::initializer_list<std::string_view> separators) {
    std::vector<std::string> parts;
    std::string part;
    for (const auto& c : text::characters(s)) {
        if (std::find(separators.begin(), separators.end(), c) != separators.end()) {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

// A subject with blanks and the brackets around it removed.
std::string bareSubject(const std::vector<std::string>& chars, std::size_t from, std::size_t to) {
    while (from < to && (cells::opening(chars[from]) || cells::closing(chars[from]) ||
                         chars[from] == "-" || chars[from] == ":" || chars[from] == "："))
        ++from;
    while (to > from && (cells::opening(chars[to - 1]) || cells::closing(chars[to - 1]) ||
                         chars[to - 1] == "-" || chars[to - 1] == ":" || chars[to - 1] == "："))
        --to;
    std::string out;
    for (std::size_t i = from; i < to; ++i) out += chars[i];
    return out;
}

bool knownSubject(const School& school, std::string_view text) {
    const std::string s = squeezed(text);
    return std::any_of(school.subjects.begin(), school.subjects.end(),
                       [&](const std::string& subject) { return squeezed(subject) == s; });
}

bool knownTeacher(const School& school, std::string_view text) {
    return names::match(school.teachers, text).has_value();
}

}  // namespace

std::optional<std::vector<CellLesson>> teacherCell(std::string_view text) {
    std::vector<CellLesson> lessons;
    const std::string s = cells::plain(text);
    if (cells::noLesson(s) || cells::noLessonLabel(s)) return lessons;
    for (const auto& part : splitOn(s, {"\n", "/"})) {
        // A blank between class and subject settles where the class ends: "一(1)班 语文".
        if (const auto words = splitOn(part, {" "}); words.size() == 2) {
            const auto first = cells::wholeClass(words[0]);
            const auto second = cells::wholeClass(words[1]);
            if (first && !second) {
                lessons.push_back({first->name(), cleanFullWidth(words[1]), ""});
                continue;
            }
            if (second && !first) {
                lessons.push_back({second->name(), cleanFullWidth(words[0]), ""});
                continue;
            }
        }
        const auto chars = text::characters(squeezed(part));
        if (chars.empty()) continue;
        const auto at = cells::findClass(chars);
        if (!at) return std::nullopt;
        std::string subject = bareSubject(chars, 0, at->begin);
        const std::string after = bareSubject(chars, at->end, chars.size());
        if (subject.empty()) {
            subject = after;
        } else if (!after.empty()) {
            return std::nullopt;  // something on both sides of the class
        }
        if (subject.empty()) return std::nullopt;
        lessons.push_back({at->name(), subject, ""});
    }
    if (lessons.empty()) return std::nullopt;
    return lessons;
}

std::optional<CellLesson> classCell(std::string_view text, const School& school,
                                    bool subjectsOnly) {
    const std::string s = cells::plain(text);
    const std::string whole = squeezed(s);
    if (cells::noLesson(whole) || cells::noLessonLabel(whole)) return std::nullopt;
    if (subjectsOnly) return CellLesson{"", cleanFullWidth(whole), ""};
    auto parts = splitOn(s, {"\n", "/", "(", ")", " ", "[", "]", "【", "】", ",", "，", "、"});
    for (auto& p : parts) p = trimmedCopy(p);
    std::erase_if(parts, [](const std::string& p) { return p.empty(); });
    if (parts.size() == 1) {
        // "语文张三": a known subject in front, or a known teacher behind.
        for (const auto& subject : school.subjects) {
            const std::string sub = squeezed(subject);
            if (!sub.empty() && whole.starts_with(sub) && whole.size() > sub.size())
                return CellLesson{"", sub, whole.substr(sub.size())};
        }
        for (const auto& teacher : school.teachers) {
            const std::string t = squeezed(teacher);
            if (!t.empty() && whole.ends_with(t) && whole.size() > t.size())
                return CellLesson{"", whole.substr(0, whole.size() - t.size()), t};
        }
        return std::nullopt;
    }
    if (parts.size() > 2) {
        // "品德 与 社会 张三": a known teacher last, or a known subject first.
        std::string rest;
        if (knownTeacher(school, parts.back())) {
            for (std::size_t i = 0; i + 1 < parts.size(); ++i) rest += parts[i];
            return CellLesson{"", rest, parts.back()};
        }
        if (knownSubject(school, parts.front())) {
            for (std::size_t i = 1; i < parts.size(); ++i) rest += parts[i];
            return CellLesson{"", parts.front(), rest};
        }
        return std::nullopt;
    }
    // Two parts: which one is the teacher.
    std::size_t teacher = 1;
    if (knownTeacher(school, parts[0]) && !knownTeacher(school, parts[1]))
        teacher = 0;
    else if (!knownTeacher(school, parts[1]) && !knownSubject(school, parts[0]) &&
             knownSubject(school, parts[1]))
        teacher = 0;
    return CellLesson{"", cleanFullWidth(parts[1 - teacher]), parts[teacher]};
}

}  // namespace daike::timetable_sheets
