// The grid of figures per teacher both statistics windows show (read-only rows, sorted by a
// click on a column's header) and the lines of words under it.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "statistics/tables.h"

class QBoxLayout;
class QColor;
class QLabel;
class QTableWidget;
class QWidget;

namespace daike {

struct RunContext;

QTableWidget* makeFiguresGrid(QWidget* parent);
// Fills the grid with the table: the sorted column's header says which way it runs, numbers
// stand right, exempt teachers and those who have left are grey, a tally that disagrees with
// the records is red, the totals bold at the bottom.
void showFiguresTable(QTableWidget* grid, const statistics::Table& table, int sortColumn,
                      bool descending);
// The file an export goes to, asked with the suggested name: the extension added when typed
// without it; nothing on 取消 or a blank name.
std::optional<QString> askExportFile(RunContext& ctx, const QString& caption,
                                     const std::filesystem::path& suggested,
                                     const QString& extension, const QString& filter);

// A line of words under the grid (the spread, a note), wrapped, added to the layout.
QLabel* addWordsLine(QWidget* parent, QBoxLayout* layout, const char* name);
QLabel* addWordsLine(QWidget* parent, QBoxLayout* layout, const char* name, const QColor& colour);

}  // namespace daike
