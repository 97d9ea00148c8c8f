// Saving the statistics for the headmaster and the finance office: an Excel workbook (one sheet
// per view, numbers as numbers) and a CSV file that a spreadsheet opens with the Chinese intact.
// A file is written under a temporary name and renamed when complete, so a failed export never
// leaves half a file or spoils the one it was to replace.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "statistics/tables.h"

namespace daike::statistics {

// "代课统计-第3至5周.xlsx" and the like, in the program directory.
std::filesystem::path defaultFile(const std::filesystem::path& programDir, const Range& range,
                                  const std::string& extension);

// Writes the sheets in order. Throws a Failure (CannotWrite) saying why, in words for the
// operator.
void writeXlsx(const std::filesystem::path& file, const std::vector<Table>& sheets,
               const std::string& title);

// One table as CSV: UTF-8 with a byte-order mark, fields quoted where needed, CRLF line ends,
// the totals as the last line.
std::string toCsv(const Table& t);
// Writes the text as the whole file. Throws a Failure (CannotWrite) saying why.
void writeFile(const std::filesystem::path& file, const std::string& content);

}  // namespace daike::statistics
