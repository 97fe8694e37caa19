#pragma once

#include "engine/Dialogs.h"
#include "engine/LandscapeGrid.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <string>

namespace quorrel {

// The landscape text format (species numbers, TAB separated, CR LF line ends).
// generation <= 0: a new file with a plain header; > 0: a block appended with the
// generation on its header and an empty line after it. Failures are shown through
// dialogs and give false.
bool WriteTXTLandscape(const std::string& fileName, int generation, const GParamStruct& p,
                       const LandscapeGrid& grid, Dialogs& dialogs);

// Reads the first block of a landscape file into the interior of grid; every individual
// gets its growth rate by DrawGRate from fractions. False (after a message) when the file is
// unreadable or does not fit the parameters; the grid may then hold part of the file.
bool ReadTXTLandscape(const std::string& fileName, const ParameterSet& p, const GRateRanges& fractions,
                      LandscapeGrid& grid, Rng& rng, Dialogs& dialogs);

} // namespace quorrel
