#pragma once

#include <QString>

class QTableWidget;
class QWidget;

namespace quorrel {

// String grids in the style of the editors: row 0 and column 0 are fixed heading cells
// held as ordinary cells that cannot be selected; the rest are set cell by cell.

// A grid without Qt's own headers, editing started only by typing or double-clicking.
QTableWidget* NewStringGrid(QWidget* parent);

enum class CellAccess { Fixed, Selectable, Editable };

// Sets the text of cell (row, column), creating it when needed, with its access.
void SetCell(QTableWidget& grid, int row, int column, const QString& text, CellAccess access = CellAccess::Fixed);

// The cell's text, empty when it has none.
QString CellText(const QTableWidget& grid, int row, int column);

} // namespace quorrel
