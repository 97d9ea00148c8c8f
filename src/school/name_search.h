// Finding a teacher from what the operator typed: the names a box offers while he types (by
// the start of a name, a piece of it, or its pinyin, initials or full), and, for a name that is
// no teacher's, the stored names he most likely meant (宋艳 typed for 宋燕 is a typical slip of
// the input method). Pinyin comes from ICU, read once per name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/refusal.h"

namespace daike {

class Store;

namespace names {

// The pinyin initials of a name, lowercase: "宋燕" → "sy". The first character is read as a
// surname (曾 z, 单 s, 解 x …). Latin letters and digits, ASCII or full-width, are kept
// (lowercase); blanks and other signs are left out.
std::string pinyinInitials(std::string_view name);

// The whole pinyin without tones or blanks: "宋燕" → "songyan", "曾平" → "zengping".
std::string fullPinyin(std::string_view name);

// The stored names that fit what is typed, best first: names beginning with it, then names
// containing it, then (for Latin letters, either case, ASCII or full-width) names whose
// initials begin with it, then names whose full pinyin begins with it. Each name once, in
// stored order within each group; nothing for a blank text.
std::vector<std::string> completions(const std::vector<std::string>& names, std::string_view typed);

// For a name that is no stored teacher's (by `match`): the stored names it was probably meant
// for, closest first, at most five: the same pinyin (宋艳 → 宋燕), one character changed, one
// character added or dropped. Nothing for a stored name or a blank text.
std::vector<std::string> nearNames(const std::vector<std::string>& names, std::string_view typed);

// "没有名为“宋艳”的教师。是不是：宋燕？", or without the question when nothing is near (names
// shown without the blanks at their ends).
std::string unknownNameMessage(std::string_view typed, const std::vector<std::string>& near);

// The stored name a typed name stands for (by `match`), or the refusal naming the near names.
Checked<std::string> knownTeacher(const std::vector<std::string>& stored, std::string_view typed);
// The same against 教师姓名.
Checked<std::string> knownTeacher(Store& store, std::string_view typed);

}  // namespace names
}  // namespace daike
