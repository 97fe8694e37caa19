#include "ui/GridCells.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>

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

void FitGridToColumns(QTableWidget& grid)
{
    // The room the rest of an editor takes beside its grid.
    constexpr int EditorRoom = 240;
    const char* floorName = "quorrelGridMinimumWidth";
    if (!grid.property(floorName).isValid())
        grid.setProperty(floorName, grid.minimumWidth());
    int width = 2 * grid.frameWidth();
    for (int c = 0; c < grid.columnCount(); ++c)
        width += grid.columnWidth(c);
    int height = 2 * grid.frameWidth();
    for (int r = 0; r < grid.rowCount(); ++r)
        height += grid.rowHeight(r);
    if (grid.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff &&
        height > std::max(grid.height(), grid.minimumHeight()))
        width += grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grid);
    const QScreen* screen = grid.screen() != nullptr ? grid.screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
        width = std::min(width, screen->availableGeometry().width() - EditorRoom);
    grid.setMinimumWidth(std::max(width, grid.property(floorName).toInt()));
}

QString CellText(const QTableWidget& grid, int row, int column)
{
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

} // namespace quorrel
