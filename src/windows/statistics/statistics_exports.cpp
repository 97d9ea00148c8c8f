#include "windows/statistics/statistics_exports.h"

#include <filesystem>

#include "statistics/exports.h"
#include "ui/path_text.h"
#include "windows/statistics/statistics_pdf.h"

namespace daike {

namespace {

std::filesystem::path pathOf(const QString& file) {
    return fspath(file);
}

void writeXlsx(const QString& file, const ExportSource& s) {
    const std::string title = "代课统计（" + s.figures.range.label() + "）";
    statistics::writeXlsx(
        pathOf(file),
        {s.table, statistics::weekTable(s.figures), statistics::recordTable(s.figures)}, title);
}

void writeCsv(const QString& file, const ExportSource& s) {
    statistics::writeFile(pathOf(file), statistics::toCsv(s.table));
}

void writePdf(const QString& file, const ExportSource& s) {
    StatisticsPage page;
    page.heading =
        QStringLiteral("代课统计（%1）").arg(QString::fromStdString(s.figures.range.label()));
    page.dateLine = QStringLiteral("制表日期：") + s.date;
    page.note = QString::fromStdString(statistics::tallyNote(s.figures));
    page.chart = s.chart;
    page.table = s.table;
    writeStatisticsPdf(file, page);
}

}  // namespace

const std::vector<StatisticsExport>& statisticsExports() {
    static const std::vector<StatisticsExport> table = {
        {"Command2", "导出Excel…", "xlsx", "导出Excel工作簿", "Excel 工作簿 (*.xlsx)", writeXlsx},
        {"Command3", "导出CSV…", "csv", "导出CSV文件", "CSV 文件 (*.csv)", writeCsv},
        {"Command4", "导出PDF…", "pdf", "导出PDF文件", "PDF 文件 (*.pdf)", writePdf},
    };
    return table;
}

}  // namespace daike
