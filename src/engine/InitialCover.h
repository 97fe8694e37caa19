#pragma once

#include "engine/Dialogs.h"
#include "engine/InitProgress.h"
#include "engine/LandscapeGrid.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

namespace quorrel {

// Fills the interior of the grid with the initial landscape selected by Cover: a random
// scatter of equal numbers per species, a tiling into blocks of about 20 x 20 cells, or a
// landscape file. False when the user cancelled the random scatter (the individuals placed
// so far stay) or the file could not be read (its message has been shown).
bool SetInitCover(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng, Dialogs& dialogs,
                  InitProgress& progress);

} // namespace quorrel
