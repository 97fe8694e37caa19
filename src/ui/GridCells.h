#pragma once

#include <QString>

class QTableWidget;
class QWidget;

namespace quorrel {

// String grids in the style of the editors: the headings (row 0, mostly also column 0) are
// ordinary cells that cannot be selected; the rest are set cell by cell.

// A grid without Qt's own headers, editing started only by typing or double-clicking.
QTableWidget* NewStringGrid(QWidget* parent);

// Heading: a shaded fixed cell; Fixed: a read-only value.
enum class CellAccess { Heading, Fixed, Selectable, Editable };

// Sets the text of cell (row, column), creating it when needed, with its access.
void SetCell(QTableWidget& grid, int row, int column, const QString& text, CellAccess access = CellAccess::Heading);

// Widens the grid (never below the minimum width it was given first) so that all its
// columns show without a horizontal scroll bar, as far as the screen's width allows.
void FitGridToColumns(QTableWidget& grid);

// The cell's text, empty when it has none.
QString CellText(const QTableWidget& grid, int row, int column);

} // namespace quorrel
