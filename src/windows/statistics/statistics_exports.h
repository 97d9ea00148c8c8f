// The exports of 代课统计, one row each: the button that starts it, the file it writes and the
// writer. The window makes its export buttons from this table in its order, so a new export is
// one row here and its writer.
#pragma once

#include <QString>
#include <vector>

#include "statistics/figures.h"
#include "statistics/tables.h"

namespace daike {

// What an export is made from: the range's figures, the window's table in the order shown, the
// chart as drawn and the day it is made on.
struct ExportSource {
    const statistics::Figures& figures;
    const statistics::Table& table;
    const statistics::Chart& chart;
    QString date;  // "2026年9月30日"
};

struct StatisticsExport {
    const char* objectName;  // the button ("Command2")
    const char* label;       // its caption ("导出Excel…")
    const char* extension;   // "xlsx", added to a name typed without it
    const char* caption;     // the file dialog's title
    const char* filter;      // the file dialog's filter ("Excel 工作簿 (*.xlsx)")
    // Writes the whole file. Throws a Failure (CannotWrite) saying why.
    void (*write)(const QString& file, const ExportSource& source);
};

// In the order of the buttons.
const std::vector<StatisticsExport>& statisticsExports();

}  // namespace daike
