#include <algorithm>

#include "documents/spreadsheet.h"

namespace daike::spreadsheet {

namespace {
const std::string kEmpty;
}

int Sheet::columnCount() const {
    std::size_t longest = 0;
    for (const auto& row : rows) longest = std::max(longest, row.size());
    return static_cast<int>(longest);
}

const std::string& Sheet::at(int row, int column) const {
    if (row < 0 || column < 0 || row >= rowCount()) return kEmpty;
    const auto& cells = rows[static_cast<std::size_t>(row)];
    if (column >= static_cast<int>(cells.size())) return kEmpty;
    return cells[static_cast<std::size_t>(column)];
}

const std::string& Sheet::shown(int row, int column) const {
    for (const auto& m : merged)
        if (row >= m.firstRow && row <= m.lastRow && column >= m.firstColumn &&
            column <= m.lastColumn)
            return at(m.firstRow, m.firstColumn);
    return at(row, column);
}

}  // namespace daike::spreadsheet
