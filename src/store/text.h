// Text measured in characters rather than bytes: class names such as 一(1) are four characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace daike::text {

// The characters of a UTF-8 text, each as its own UTF-8 string.
std::vector<std::string> characters(std::string_view s);

// Length in characters.
std::size_t length(std::string_view s);

// Up to n characters starting at character position start (from 1), as the office's forms cut
// texts: a start past the end gives "", a piece running past the end is cut short.
std::string mid(std::string_view s, std::size_t start, std::size_t n);

// The text without the blanks the office types around a name: ASCII blanks, tabs, line breaks
// and the full-width blank "　" at either end.
std::string_view trimmed(std::string_view s);

// The digit one character stands for: ASCII "0" to "9" or the full-width "０" to "９"; -1 for
// any other character.
int digitValue(std::string_view character);

// A count or a date part typed into a box: decimal digits only, ASCII or full-width, with blanks
// at either end allowed (as `trimmed`). Nothing for an empty text, a sign, a point, any other
// character, or more than `maxDigits` digits.
std::optional<long> wholeNumber(std::string_view s, int maxDigits = 9);

}  // namespace daike::text
