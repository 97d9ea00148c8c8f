// LibreOffice in headless mode, the one outside program we use: it turns an office's old .doc
// files into .docx (the notice template, teachers' timetables) and, in tests, our files into
// PDF or CSV to check what another program makes of them.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace daike::libreoffice {

// Its program, found on the PATH as soffice or libreoffice.
std::optional<std::filesystem::path> find();

enum class Outcome {
    Converted,     // every file has its converted copy in the folder
    NotInstalled,  // no LibreOffice on this machine
    NotStarted,    // the program could not be started
    TimedOut,      // it ran past the limit and was stopped
    Failed,        // it ran, but not every file was converted
};

// Converts the files to `format` ("docx", "pdf", "csv", …) into `outDir`, all in one start (it
// starts slowly), with a private profile so that a copy of LibreOffice the operator has open
// neither waits for it nor has its settings changed. A run past `limit` is stopped: a
// conversion that hangs must not hold the office's program for ever.
Outcome convert(const std::vector<std::filesystem::path>& files,
                const std::filesystem::path& outDir, const std::string& format,
                std::chrono::seconds limit = std::chrono::minutes(5));

}  // namespace daike::libreoffice
