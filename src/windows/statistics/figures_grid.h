// The grid of figures per teacher both statistics windows show (read-only rows, sorted by a
// click on a column's header) and the lines of words under it.
#pragma once

class QBoxLayout;
class QColor;
class QLabel;
class QTableWidget;
class QWidget;

namespace daike {

QTableWidget* makeFiguresGrid(QWidget* parent);

// A line of words under the grid (the spread, a note), wrapped, added to the layout.
QLabel* addWordsLine(QWidget* parent, QBoxLayout* layout, const char* name);
QLabel* addWordsLine(QWidget* parent, QBoxLayout* layout, const char* name, const QColor& colour);

}  // namespace daike
