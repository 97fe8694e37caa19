#pragma once

#include "engine/EmptyCells.h"
#include "engine/GenotypeGrid.h"
#include "engine/LandscapeGrid.h"
#include "engine/Recruitment.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <cstdint>

namespace quorrel {

// The run's outcome ranges: Seed seeds every new genotype; Observed records the ranges
// widened by mutation of open recruits and is copied back into Seed after every
// recruitment pass.
struct OutcomeRanges {
    VariableOutcomeTable Seed{};
    VariableOutcomeTable Observed{};
};

// Recruitment with genotypes (RecruitWithMutation). In row order each empty cell of the
// current landscape draws RandomReal against Influx. An open recruit is a random species
// with DrawGRate and a newly seeded genotype; a closed recruit copies an individual found
// by at most MaxX * MaxY + 1 random probes (then the scan from the last probe), genotype
// included (the recruit shares the record until it mutates); closed recruitment into an
// empty landscape ends the pass. The recruit's growth
// rate may mutate (species with a range in observedGRate), then each variable entry of its
// genotype (MutateTriple); open recruits widen observedGRate and ranges.Observed.
// Open recruits draw their growth rates from fractions. After the pass, also one ended early,
// the ranges are fed back: fractions of every variable-rate species := observedGRate,
// ranges.Seed := ranges.Observed.
// With clearEmpty the pass is ClearEmptyGenotypes too: every empty interior cell gets the
// unset genotype before anything arrives there, the whole landscape through, even when the
// pass ends early. Given the list of the landscape's empty cells, the pass visits those
// instead of scanning for them.
void RecruitWithMutation(const ParameterSet& p, GRateRanges& fractions, LandscapeGrid& landscape,
                         GenotypeGrid& genotypes, Rng& rng, GRateRanges& observedGRate, OutcomeRanges& ranges,
                         bool clearEmpty = false, const EmptyCells* empties = nullptr);

} // namespace quorrel
