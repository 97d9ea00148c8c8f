// The statistics on A4 for the headmaster: the range and the date in the heading, the spread in
// words, the chart, then the table per teacher (continued on further pages with its header).
#pragma once

#include <QPageLayout>
#include <QString>

#include "statistics/tables.h"

class QPagedPaintDevice;

namespace daike {

struct StatisticsPage {
    QString heading;   // "代课统计（第3至5周）"
    QString dateLine;  // "制表日期：2026年9月30日"
    QString note;      // what the operator should know about the tallies, or ""
    statistics::Chart chart;
    statistics::Table table;
};

// A4 upright, margins of 15 mm.
QPageLayout statisticsPageLayout();

enum class PagesPainted { Done, CannotBegin, CannotFinish };
// Paints the pages on any paged device (a PDF, the printer), starting new pages as the table
// runs on.
PagesPainted paintStatisticsPages(QPagedPaintDevice& device, const StatisticsPage& page);

// Writes the PDF under a temporary name and renames it when complete. Throws a Failure
// (CannotWrite) saying why, in words for the operator.
void writeStatisticsPdf(const QString& file, const StatisticsPage& page);

}  // namespace daike
