#pragma once

#include "engine/Dialogs.h"
#include "engine/LandscapeGrid.h"
#include "engine/Landscapes.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <cstdint>
#include <vector>

namespace quorrel {

// Operations on the landscape grids shared by every model. Grids are always
// traversed row by row: rows 1..MaxY outer, columns 1..MaxX inner.

// Every interior cell of the grid becomes EmptyCell.
void ClearLandscape(const GParamStruct& p, LandscapeGrid& grid);

// Copies the interior of the current landscape into the previous one; under mean field
// the permutation is reshuffled first and cell k goes to position permutation[k].
void CopyLandscapeToPrevious(const GParamStruct& p, Landscapes& l, Rng& rng);

// Fisher-Yates shuffle of a[0..h], one RandomInt per step from the top index down.
void ShuffleIndices(std::vector<int32_t>& a, int h, Rng& rng);

// Builds the border ring of the previous landscape: copies of the opposite edges on a
// torus, empty cells with an open border.
void SetLandscapeBorder(const GParamStruct& p, LandscapeGrid& previous);

// Moves (x, y) to the first empty interior cell in scan order: the rest of row y, row y
// leftwards from x-1, the rows below, then the rows above. When no cell is empty this is
// an internal error: the parameter set is written to StartDir/ERR-INIT.prm, the message
// is shown and an AssertionFailure ends the run.
void FindEmptyCell(const ParameterSet& p, const LandscapeGrid& grid, int& x, int& y, Dialogs& dialogs);

// Moves (x, y) to the first occupied interior cell in the same scan order; leaves it
// unchanged when the whole interior is empty. Returns whether a cell was found.
bool FindOccupiedCell(const GParamStruct& p, const LandscapeGrid& grid, int& x, int& y);

// The growth rate of a new individual of species s without a parent: the fixed rate, or
// for a variable species one RandomReal spread over its low..high range.
float DrawGRate(const GRateRanges& fractions, Rng& rng, int s);

} // namespace quorrel
