#include "ui/OutcomeGrids.h"

#include "ui/EditorTexts.h"
#include "ui/GridCells.h"

#include <QTableWidget>

namespace quorrel {

void FillOutcomeGrid(QTableWidget& grid, const OutcomeTable& table, int n, bool editable)
{
    grid.setRowCount(n + 1);
    grid.setColumnCount(n + 1);
    SetCell(grid, 0, 0, QStringLiteral("Spec.No."));
    for (int s = 1; s <= n; ++s) {
        SetCell(grid, 0, s, QString::number(s));
        SetCell(grid, s, 0, QString::number(s));
    }
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            SetCell(grid, i, j, QString::fromStdString(OutcomeCellText(table[i][j], i, j)),
                    editable && i < j ? CellAccess::Selectable : CellAccess::Fixed);
    FitGridToColumns(grid);
}

void FillVariableOutcomeGrid(QTableWidget& grid, const VariableOutcomeTable& ranges, int n, bool editable)
{
    grid.setRowCount(n + 1);
    grid.setColumnCount(3);
    SetCell(grid, 0, 0, QStringLiteral("Spec No."));
    SetCell(grid, 0, 1, QStringLiteral("Win"));
    SetCell(grid, 0, 2, QStringLiteral("Loss"));
    const CellAccess access = editable ? CellAccess::Selectable : CellAccess::Fixed;
    for (int s = 1; s <= n; ++s) {
        const VariableOutcomeRange& r = ranges[s];
        SetCell(grid, s, 0, QString::number(s));
        SetCell(grid, s, 1, QString::fromStdString(RangeText(r.WinLow, r.WinHigh)), access);
        SetCell(grid, s, 2, QString::fromStdString(RangeText(r.LossLow, r.LossHigh)), access);
    }
}

} // namespace quorrel
