// The harnesses' inputs: the bytes of a whole .docx (they start "PK"), or else the text of its
// main part document.xml, so that mutations reach the XML readers without first having to
// make a valid zip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "documents/docx.h"

namespace daike::fuzzing {

inline WordDocument documentOf(const std::uint8_t* data, std::size_t size, const char* name) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.starts_with("PK")) return WordDocument::fromBytes(std::move(bytes), name);
    return WordDocument::fromXml(bytes, "", name);
}

}  // namespace daike::fuzzing
