#include "windows/statistics/figures_grid.h"

#include <QHeaderView>
#include <QTableWidget>

namespace daike {

QTableWidget* makeFiguresGrid(QWidget* parent) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName("Grid1");
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

}  // namespace daike
