// The notice template 输出文件.docx in the program directory. The office may restyle it in any
// word processor; the program fills the same cells of tables 2i−1 and 2i (documents/notices.h).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "documents/docx.h"

namespace daike {

inline constexpr const char* kNoticeTemplate = "输出文件.docx";
inline constexpr const char* kOldNoticeTemplate = "输出文件.doc";
inline constexpr const char* kFilledNotices = "输出文件-已填.docx";

// One A4 page with two identical notice tables and the fixed wording around the cells.
WordDocument defaultNoticeTemplate();

// Converts a .doc to a .docx in `outDir` with LibreOffice in headless mode (a private profile,
// so an office copy of LibreOffice that is open does not interfere). False when LibreOffice is
// not installed or the conversion failed.
bool convertWithLibreOffice(const std::filesystem::path& doc, const std::filesystem::path& outDir,
                            const std::string& format = "docx");
// Several files in one start of LibreOffice (it starts slowly); true when every one converted.
bool convertWithLibreOffice(const std::vector<std::filesystem::path>& docs,
                            const std::filesystem::path& outDir, const std::string& format);
bool libreOfficeInstalled();

// Where the template came from this time.
enum class TemplateOrigin { Existing, WrittenDefault, ConvertedFromDoc };

struct NoticeTemplate {
    WordDocument document;
    TemplateOrigin origin;
};

// The office's template: 输出文件.docx; when only 输出文件.doc is there, it is converted once to
// 输出文件.docx (the .doc stays); when neither is there, the default template is written.
// Throws Failure with a message saying what to do (a .doc and no LibreOffice: how to save
// it as .docx in a word processor).
NoticeTemplate loadNoticeTemplate(const std::filesystem::path& programDir);

}  // namespace daike
