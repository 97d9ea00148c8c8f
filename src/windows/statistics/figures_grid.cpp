#include "windows/statistics/figures_grid.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "ui/path_text.h"
#include "ui/run_context.h"

namespace daike {

QTableWidget* makeFiguresGrid(QWidget* parent) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName("Grid1");
    grid->setAccessibleName(QStringLiteral("各位教师的代课节数"));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setToolTip(QStringLiteral("单击列标题排序，再单击反向排序"));
    return grid;
}

void showFiguresTable(QTableWidget* grid, const statistics::Table& table, int sortColumn,
                      bool descending) {
    const int columns = static_cast<int>(table.headers.size());
    grid->clear();
    grid->setColumnCount(columns);
    grid->setRowCount(static_cast<int>(table.rows.size()) + (table.totals ? 1 : 0));
    QStringList headers;
    for (const auto& h : table.headers) headers << QString::fromStdString(h);
    // The sorted column says which way it runs. (The header's own indicator would widen every
    // column by the room for an arrow.)
    if (sortColumn >= 0 && sortColumn < columns)
        headers[sortColumn] += descending ? QStringLiteral("▼") : QStringLiteral("▲");
    grid->setHorizontalHeaderLabels(headers);
    auto put = [&](int r, const statistics::TableRow& row, bool total) {
        for (int c = 0; c < columns && c < static_cast<int>(row.cells.size()); ++c) {
            const auto& cell = row.cells[static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(QString::fromStdString(cell.text));
            if (cell.number || cell.text == "—")
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row.exempt || row.former) item->setForeground(QColor(128, 128, 128));
            if (row.mismatch && c == table.tallyColumn) {
                item->setForeground(QColor(192, 0, 0));
                item->setBackground(QColor(255, 224, 224));
            }
            if (total) {
                QFont f = item->font();
                f.setBold(true);
                item->setFont(f);
                item->setBackground(QColor(236, 236, 236));
            }
            grid->setItem(r, c, item);
        }
    };
    int r = 0;
    for (const auto& row : table.rows) put(r++, row, false);
    if (table.totals) put(r, *table.totals, true);
}

std::optional<QString> askExportFile(RunContext& ctx, const QString& caption,
                                     const std::filesystem::path& suggested,
                                     const QString& extension, const QString& filter) {
    auto chosen = ctx.platform.files.saveFile(caption, qpath(suggested), filter);
    if (!chosen || chosen->trimmed().isEmpty()) return std::nullopt;
    QString file = *chosen;
    if (!file.endsWith("." + extension, Qt::CaseInsensitive)) file += "." + extension;
    return file;
}

QLabel* addWordsLine(QWidget* parent, QBoxLayout* layout, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    layout->addWidget(l);
    return l;
}

QLabel* addWordsLine(QWidget* parent, QBoxLayout* layout, const char* name, const QColor& colour) {
    auto* l = addWordsLine(parent, layout, name);
    l->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    return l;
}

}  // namespace daike
