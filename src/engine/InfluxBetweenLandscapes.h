#pragma once

#include "engine/ArraySettings.h"
#include "engine/GenotypeGrid.h"
#include "engine/LandscapeArrayStores.h"
#include "engine/LandscapeGrid.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <cstdint>

namespace quorrel {

// Immigration into the empty cells of the current landscape, which holds landscape (r, c)
// of the array, from the four neighbouring landscapes (the array wraps round as a torus),
// as they stood at the start of the generation (their previous-state files).
//
// For every empty cell in row order: RandomReal < InfluxBetween, else nothing; the source
// by RandomInt(4) (0 left, 1 below, 2 right, 3 above); the donor by probes, each drawing
// the row v = RandomInt(MaxY) + 1 then the column u = RandomInt(MaxX) + 1, at most
// MaxX * MaxY + 1 of them, then the scan of FindOccupiedCell from the last probe; a source
// that holds nobody abandons this arrival with no further draw. Then RandomReal against the
// donor's recruitment probability; the settler takes the donor's species and growth rate,
// the rate mutating (RandomReal < MutationGR, for a species variable in GRateFractions;
// then RandomReal >= 0.5 lowers it by MutAmtGR %, else raises it).
//
// With genotypes (a variable-outcome array) the settler also takes a copy of the donor's
// genotype, and each entry against a species j whose pair with its own is variable mutates
// when RandomReal < MutationOTC (MutateTriple). A failed arrival leaves the genotype alone.
void InfluxBetweenLandscapes(const ParameterSet& p, const ArraySettings& array, LandscapeArrayStores& stores,
                             LandscapeGrid& current, GenotypeGrid* currentGenotypes, Rng& rng, int r, int c);

// The generator as after steps draws, without drawing them.
void SkipDraws(Rng& rng, uint64_t steps);

} // namespace quorrel
