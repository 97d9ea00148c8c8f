// Reading a document file and the parts of its zip archive, within the limits of
// documents/document_limits.h. Shared by the .docx reader and the spreadsheet reader, which
// differ only in how their messages name the file ("文档" and the word processor, "表格" and the
// spreadsheet program).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace daike::zip_parts {

// How the messages speak of a kind of file.
struct Kind {
    const char* noun;     // "文档": 文档“x.docx”已损坏…
    const char* notThis;  // "Word 文档（.docx）": 文件“x”不是…
    const char* program;  // "文字处理软件": 请在…中打开并重新保存
};
extern const Kind kWordDocument;
extern const Kind kSpreadsheet;

struct Entry {
    std::string name;
    std::string data;
};

// “name”, in the quotes of the messages.
std::string inQuotes(const std::string& name);

[[noreturn]] void notA(const Kind& kind, const std::string& name);
[[noreturn]] void damaged(const Kind& kind, const std::string& name);
// "<noun>“name”<what>，超出了本程序能读取的范围，没有读取。…"
[[noreturn]] void tooLarge(const Kind& kind, const std::string& name, const std::string& what);

// The bytes of the file at `path` (`name` is its file name, for messages). Only a regular file
// is read (a pipe would wait forever, a device never end), a link only when it points to a file
// in the same folder, and never more than `maxBytes`.
std::string readFile(const std::filesystem::path& path, const std::string& name, const Kind& kind,
                     std::uint64_t maxBytes);

// Every part of the archive, checked against the limits by the sizes its directory gives
// before anything is inflated, and again while inflating (a directory may lie).
std::vector<Entry> readZip(std::string_view bytes, const std::string& name, const Kind& kind);

const Entry* findEntry(const std::vector<Entry>& entries, std::string_view name);

}  // namespace daike::zip_parts
