// What the program agrees to read from a document, so that a crafted or broken file is refused
// with a message instead of taking the memory, the stack or the afternoon. A timetable or notice
// template of a real school stays far below every limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace daike::document_limits {

inline constexpr std::uint64_t kFileBytes = 32u << 20;   // the .docx file itself
inline constexpr int kEntries = 2000;                    // parts in the archive
inline constexpr std::uint64_t kPartBytes = 16u << 20;   // one part, uncompressed
inline constexpr std::uint64_t kTotalBytes = 96u << 20;  // all parts, uncompressed
inline constexpr int kDepth = 200;                       // elements inside one another
inline constexpr int kGridColumns = 64;                  // a word processor allows 63
inline constexpr int kCellCharacters = 200;              // one cell of a timetable
inline constexpr int kTableRows = 1000;                  // rows of a table that is read

// "32 MB" and the like, for messages.
std::string sizeText(std::uint64_t bytes);

// True when elements nest deeper than `limit` anywhere in the XML text. One pass over the text;
// comments, CDATA sections, processing instructions and the document type are skipped, quotes in
// tags are honoured. Text that is not well-formed is left for the parser to refuse.
bool nestsDeeperThan(std::string_view xml, int limit);

// The offset of the first byte that does not belong to valid UTF-8 (overlong forms, surrogates
// and code points above U+10FFFF included), or npos when the text is valid.
std::size_t invalidUtf8At(std::string_view text);

// Whether an XML part is stored in UTF-8 (no byte-order mark of UTF-16 or UTF-32 and no other
// encoding named in its declaration), so that its bytes can be checked as UTF-8 before parsing.
bool declaredUtf8(std::string_view xml);

// Code points of a UTF-8 text (a byte that starts no character counts as one).
std::size_t characterCount(std::string_view text);

}  // namespace daike::document_limits
