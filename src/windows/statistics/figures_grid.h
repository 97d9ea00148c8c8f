// The grid of figures per teacher both statistics windows show: read-only rows, sorted by a
// click on a column's header.
#pragma once

class QTableWidget;
class QWidget;

namespace daike {

QTableWidget* makeFiguresGrid(QWidget* parent);

}  // namespace daike
