// A workbook written with libxlsxwriter the way every file of the program is written: into a
// temporary file beside the target, put in place only when whole, and a failure told in Chinese
// with the likely cause (a full disk shows in libxlsxwriter only as a zip error).
#pragma once

#include <xlsxwriter.h>

#include <filesystem>
#include <functional>
#include <string>

namespace daike::xlsx_file {

// Makes the workbook (titled, by 代课), lets `fill` add its sheets, then closes it and puts it in
// place. Throws Failure (CannotWrite) when the file cannot be made or written; a throw from
// `fill` passes on. Either way no temporary file stays behind and an older file is untouched.
void write(const std::filesystem::path& file, const std::string& title,
           const std::function<void(lxw_workbook*)>& fill);

}  // namespace daike::xlsx_file
