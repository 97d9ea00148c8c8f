#include "documents/libreoffice.h"

#include <algorithm>
#include <random>

#include "store/os_files.h"
#include "store/paths.h"

namespace daike::libreoffice {

namespace fs = std::filesystem;

std::optional<fs::path> find() {
    // Windows: its installer puts it in C:\Program Files\LibreOffice\program and does not
    // touch the PATH.
    for (const char* program : {"soffice", "libreoffice"})
        if (auto found = os_files::findProgram(program, "LibreOffice\\program")) return found;
    return std::nullopt;
}

namespace {

// The file URL of a folder, as LibreOffice reads -env:UserInstallation: file:///tmp/x,
// file:///C:/Users/x (UTF-8, blanks and the characters URLs reserve escaped).
std::string fileUrl(const fs::path& folder) {
    std::string url = "file://";
    std::string text = utf8(folder);
    if (fs::path::preferred_separator == '\\') std::replace(text.begin(), text.end(), '\\', '/');
    if (!text.empty() && text.front() != '/') url += '/';
    for (unsigned char c : text) {
        if (c == ' ' || c == '%' || c == '#' || c == '?') {
            static const char* digits = "0123456789ABCDEF";
            url += '%';
            url += digits[c >> 4];
            url += digits[c & 15];
        } else {
            url += static_cast<char>(c);
        }
    }
    return url;
}

}  // namespace

Outcome convert(const std::vector<fs::path>& files, const fs::path& outDir,
                const std::string& format, std::chrono::seconds limit) {
    const auto soffice = find();
    if (!soffice) return Outcome::NotInstalled;
    if (files.empty()) return Outcome::Converted;
    std::random_device rd;
    const fs::path profile = inFolder(fs::temp_directory_path(),
                                      "daike-lo-" + std::to_string(rd()) + std::to_string(rd()));
    std::vector<std::string> args = {"-env:UserInstallation=" + fileUrl(profile),
                                     "--headless",
                                     "--norestore",
                                     "--nolockcheck",
                                     "--convert-to",
                                     format,
                                     "--outdir",
                                     utf8(outDir)};
    for (const auto& f : files) args.push_back(utf8(f));
    // LibreOffice talks on its output; the office does not need to see it.
    Outcome outcome = Outcome::Converted;
    switch (os_files::runQuietly(*soffice, args, limit)) {
        case os_files::RunOutcome::Succeeded:
            break;
        case os_files::RunOutcome::Failed:
            outcome = Outcome::Failed;
            break;
        case os_files::RunOutcome::NotStarted:
            outcome = Outcome::NotStarted;
            break;
        case os_files::RunOutcome::TimedOut:
            outcome = Outcome::TimedOut;
            break;
    }
    std::error_code ec;
    fs::remove_all(profile, ec);
    if (outcome == Outcome::Converted) {
        // "pdf:writer_pdf_Export" names a filter after the extension.
        const std::string extension = format.substr(0, format.find(':'));
        for (const auto& f : files) {
            auto produced = outDir / f.filename();
            produced.replace_extension(pathFromUtf8(extension));
            if (!fs::exists(produced, ec)) outcome = Outcome::Failed;
        }
    }
    return outcome;
}

}  // namespace daike::libreoffice
