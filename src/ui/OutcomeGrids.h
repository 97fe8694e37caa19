#pragma once

#include "params/ParameterSet.h"

class QTableWidget;

namespace quorrel {

// The outcome grid: corner "Spec.No.", species numbers as headings, cell [row i, column j]
// the entry [i][j]. Cells above the diagonal are selectable when editable is true.
void FillOutcomeGrid(QTableWidget& grid, const OutcomeTable& table, int n, bool editable);

// The variable-outcome grid: "Spec No.", "Win", "Loss"; row s the ranges of species s.
void FillVariableOutcomeGrid(QTableWidget& grid, const VariableOutcomeTable& ranges, int n, bool editable);

} // namespace quorrel
