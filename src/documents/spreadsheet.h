// Spreadsheets read without a spreadsheet program: .xlsx (libzip + pugixml), .xls (FreeXL) and
// .csv (UTF-8 with or without a byte-order mark, or GBK as a Chinese spreadsheet program writes
// it by default). Every sheet becomes a grid of texts as a spreadsheet program shows them. A
// crafted or broken file is refused with a Chinese message (Failure) and nothing else happens.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace daike::spreadsheet {

// What the program agrees to read. A school's whole timetable stays far below every limit.
inline constexpr std::uint64_t kFileBytes = 32u << 20;  // the file itself
// Sheets of one workbook: our own export has one per teacher and one per class (a school of
// 1,024 teachers writes 1,434), and the archive holds at most 2,000 parts.
inline constexpr int kSheets = 1900;
inline constexpr int kRows = 20000;                // rows of one sheet
inline constexpr int kColumns = 500;               // columns of one sheet
inline constexpr std::int64_t kCells = 2'000'000;  // non-empty cells of the whole file
inline constexpr int kCellCharacters = 1000;       // one cell's text

// Cells from (firstRow, firstColumn) to (lastRow, lastColumn), both ends included, from 0.
struct Range {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;
    bool operator==(const Range&) const = default;
};

struct Sheet {
    std::string name;
    // rows[r][c], from 0; a row is as long as its last non-empty cell, trailing empty rows are
    // dropped. A text is the cell as shown: a number in its shortest form ("1", "2.5"), line
    // breaks inside a cell kept as "\n", no other change.
    std::vector<std::vector<std::string>> rows;
    std::vector<Range> merged;  // merged cells as the file records them

    int rowCount() const { return static_cast<int>(rows.size()); }
    // The longest row's length.
    int columnCount() const;
    // The text at (row, column); "" outside the grid.
    const std::string& at(int row, int column) const;
    // The text a reader sees at (row, column): inside a merged range, the text of its first
    // cell.
    const std::string& shown(int row, int column) const;
};

enum class Format { Xlsx, Xls, Csv };

struct Workbook {
    Format format = Format::Xlsx;
    std::string encoding;       // .csv: "UTF-8" or "GBK"; "" for the others
    std::vector<Sheet> sheets;  // in the workbook's order; a .csv gives one, named after the file
};

// ".xlsx", ".xls", ".csv": for messages and the window.
const char* formatName(Format format);

// Reads the file; the format is found from its first bytes (a zip archive, a compound document,
// else text), not from its name. Throws Failure with a Chinese message naming the file when it
// cannot be read, is not a spreadsheet, is damaged or password-protected, or passes a limit.
Workbook read(const std::filesystem::path& file);

// The readers behind read(). `name` is the file's name for messages.
Workbook readXlsx(std::string_view bytes, const std::string& name);
Workbook readCsv(std::string_view bytes, const std::string& name);
Workbook readXls(const std::filesystem::path& file);

}  // namespace daike::spreadsheet
