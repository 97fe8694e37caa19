#include "ui/GridCells.h"

#include <QHeaderView>
#include <QTableWidget>

namespace quorrel {

QTableWidget* NewStringGrid(QWidget* parent)
{
    auto* grid = new QTableWidget(parent);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setDefaultSectionSize(64);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    return grid;
}

void SetCell(QTableWidget& grid, int row, int column, const QString& text, CellAccess access)
{
    QTableWidgetItem* item = grid.item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        grid.setItem(row, column, item);
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (access == CellAccess::Selectable || access == CellAccess::Editable)
        flags |= Qt::ItemIsSelectable;
    if (access == CellAccess::Editable)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setBackground(access == CellAccess::Heading ? grid.palette().button() : grid.palette().base());
    item->setText(text);
}

QString CellText(const QTableWidget& grid, int row, int column)
{
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

} // namespace quorrel
