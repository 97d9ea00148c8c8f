// Paths and QStrings meet here. A QString goes to a path through UTF-16 and back, so a Chinese
// file name survives on every system; toStdString() is UTF-8, which a Windows narrow path would
// read in the local code page. The logic's side is store/paths.h.
#pragma once

#include <QString>
#include <filesystem>

namespace daike {

inline QString qpath(const std::filesystem::path& p) {
    return QString::fromStdU16String(p.u16string());
}

inline std::filesystem::path fspath(const QString& s) {
    return s.toStdU16String();
}

}  // namespace daike
