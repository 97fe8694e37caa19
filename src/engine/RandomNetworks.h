#pragma once

#include "engine/Rng.h"
#include "params/ParameterSet.h"

namespace quorrel {

// Random outcome networks. Each generator draws the upper-triangle pairs of the table in
// the order (1,2), (1,3), (2,3), (1,4), ... (columns outer, rows inner): first
// RandomInt(100), and below standoffPercent the pair is a pure stand-off with no further
// draw; then the pair's own draws. The table is mirrored afterwards. With fewer than two
// species nothing is drawn.

// Win, loss and stand-off spread uniformly over the simplex, in shuffled order.
void UniformNetwork(OutcomeTable& table, int n, int standoffPercent, Rng& rng);

// Every interaction a certain win for one of the two species.
void NoReversalNetwork(OutcomeTable& table, int n, int standoffPercent, Rng& rng);

// The lower-numbered species of every pair wins at least as often as it loses.
void HierarchicalNetwork(OutcomeTable& table, int n, int standoffPercent, Rng& rng);

// Redraws the live outcome matrix in the kind OutcomeRandomMode names (mode 0 only
// mirrors). Called by the Monte Carlo runner before each run.
void RandomiseOutcomes(ParameterSet& p, Rng& rng);

// New growth rates for species 1..Maxspec: two whole percentages 0..99 each; equal ones
// give a fixed rate, different ones a variable range. RateAgainst is not touched; the
// caller updates the growth-rate fractions.
void RandomiseGrowthRates(ParameterSet& p, Rng& rng);

} // namespace quorrel
