#include "windows/statistics/figures_grid.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
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
