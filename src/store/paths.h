// File names as text. Every text of the program is UTF-8; a std::filesystem::path made from a
// narrow std::string, or read back with string(), goes through the system's narrow encoding,
// which is UTF-8 on Linux but the local code page on Windows, where 代课.db, 备份/自动-….db and
// 任课表/张三.docx would turn into question marks. Paths and texts meet here and nowhere else
// (scripts/check-layers refuses the narrow forms elsewhere).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace daike {

// The path a UTF-8 text names.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// A path as UTF-8 text: for messages, SQL values, listings and the libraries that take UTF-8
// file names (SQLite, libzip, libxlsxwriter).
std::string utf8(const std::filesystem::path& path);

// `folder` / a name (or relative path) given as UTF-8: "备份", "代课.db", "任课表/张三.docx".
std::filesystem::path inFolder(const std::filesystem::path& folder, std::string_view utf8Name);

// The same file name with UTF-8 text added at its end: "代课.db" + "-wal", "x.db" + ".part".
std::filesystem::path withSuffix(const std::filesystem::path& path, std::string_view utf8Suffix);

// The last part of the path, and the same without its extension, as UTF-8.
std::string fileNameText(const std::filesystem::path& path);
std::string stemText(const std::filesystem::path& path);

}  // namespace daike
