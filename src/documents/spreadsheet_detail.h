// Inside of the spreadsheet readers (documents/spreadsheet_*.cpp): their messages, the shortest
// text of a number, and the grid a sheet is collected into within the limits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "documents/spreadsheet.h"

namespace daike::spreadsheet::detail {

[[noreturn]] void notASpreadsheet(const std::string& name);
[[noreturn]] void damaged(const std::string& name);
[[noreturn]] void encrypted(const std::string& name);
// <what>，超出了本程序能读取的范围（最多<limit>），没有读取。…
[[noreturn]] void beyondLimit(const std::string& what, const std::string& limit);

// Bytes handed over directly must not be more than read() takes from a file.
void refuseLargerThanAFile(std::string_view bytes, const std::string& name);

// "表格“x”中的工作表“Sheet1”" for a workbook, "表格“x.csv”" for a text file (sheet "").
std::string whereText(const std::string& name, const std::string& sheet);

// A number as a spreadsheet program shows it in the general format: at most 15 significant
// digits, no trailing zeros ("1", "2.5", "0.3" for 0.30000000000000004).
std::string numberText(double value);

// "\r\n" and a lone "\r" become "\n".
void normalizeLineEnds(std::string& text);

// What the sheets of one file hold so far.
struct Totals {
    std::int64_t cells = 0;      // non-empty cells
    std::int64_t positions = 0;  // rows and places in rows set aside, empty ones too
};

// Places the grids of one file may set aside: one cell far down and to the right in every row of
// every sheet must not take the memory.
inline constexpr std::int64_t kPositions = kCells;

// The cells of one sheet, each checked against the limits as it comes (so that a crafted row
// number is refused before anything is allocated for it).
class Grid {
  public:
    Grid(const std::string& file, std::string sheet, Totals& totals)
        : file_(file), sheet_(std::move(sheet)), totals_(totals) {}

    // Refuses a row or column beyond the limits (from 0), whatever the cell holds.
    void checkRow(std::int64_t row) const;
    void checkColumn(std::int64_t column) const;
    // Sets a cell; an empty text is no cell.
    void set(std::int64_t row, std::int64_t column, std::string text);

    // The sheet, its trailing empty cells and rows dropped.
    Sheet finish() &&;

  private:
    const std::string& file_;
    std::string sheet_;
    Totals& totals_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace daike::spreadsheet::detail
