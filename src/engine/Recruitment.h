#pragma once

#include "engine/DrawScan.h"
#include "engine/EmptyCells.h"
#include "engine/LandscapeGrid.h"
#include "engine/OccupancyBits.h"
#include "engine/Rng.h"
#include "engine/SpeciesMap.h"
#include "params/ParameterSet.h"

#include <optional>

namespace quorrel {

// The parent of a closed recruit: random probes, MaxX * MaxY + 1 at most (each drawing the
// column, then the row), then the scan order of FindOccupiedCell from the last probe.
// False when the landscape holds nobody.
bool FindRecruitParent(const GParamStruct& g, const LandscapeGrid& grid, Rng& rng, int& px, int& py);

// The same search with the probes read off the species map of grid, which must hold the
// species of grid's interior cells.
bool FindRecruitParent(const GParamStruct& g, const SpeciesMap& map, const LandscapeGrid& grid, Rng& rng, int& px,
                       int& py);

// The same search with the probes read off the occupancy bits of grid.
bool FindRecruitParent(const GParamStruct& g, const OccupancyBits& bits, const LandscapeGrid& grid, Rng& rng, int& px,
                       int& py);

// A recruit from the outside pool: a random species (RandomInt), arriving with its
// recruitment probability (RandomReal), with a growth rate by DrawGRate; nothing when it
// does not arrive.
std::optional<Cell> DrawOpenRecruit(const ParameterSet& p, const GRateRanges& fractions, Rng& rng);

// The growth-rate mutation of a recruit. It always takes the first draw, against MutationGR;
// only then, and only when the recruit's rate is variable, it moves the rate by MutAmtGR
// percent up or down (a second draw), kept within 0..1. A moved rate widens *widen when given.
void MutateRecruitGRate(const GParamStruct& g, Rng& rng, Cell& recruit, bool variable, GRateFraction* widen);

// Whether every species 1..Maxspec arrives with the same recruitment probability: then a
// closed recruit's arrival draw does not depend on its parent's species.
bool SameArrivalForAll(const ParameterSet& p);

// Recruitment (ApplyRecruitment): in row order each empty cell draws RandomReal against
// Influx; a recruit comes from the outside pool (open: a random species, DrawGRate) or is
// a copy of a random individual of the landscape (closed), subject to its species'
// recruitment probability; then its growth rate may mutate. Mutated open recruits widen
// observed. Closed recruitment into an empty landscape ends the pass. RecruitType values
// other than 0 and 1 recruit nobody and draw nothing. Given the list of the landscape's
// empty cells, the pass visits those instead of scanning for them. Given the occupancy bits
// of the landscape instead, it lists the empty cells off them, probes the parents of closed
// recruits there (their species there too, where the bits keep them and the species'
// recruitment probabilities differ), and keeps the bits up to date. The influx draws that bring nobody are
// searched eight at a time (DrawScan); without the bits the parents of closed recruits are
// probed on a species map of the landscape.
class RecruitmentPass {
public:
    // Room for the species map and the list of empty cells of a landscape of the given
    // number of cells (at run start).
    void Reserve(int cells)
    {
        map_.Reserve();
        empties_.Reserve(cells);
    }

    void Apply(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng,
               GRateRanges& observed, const EmptyCells* empties = nullptr);
    void Apply(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng,
               GRateRanges& observed, OccupancyBits& bits);
    void UseWideKernel(bool on)
    {
        scan_.UseWideKernel(on);
        empties_.UseWideKernel(on);
    }

private:
    DrawScan scan_;
    SpeciesMap map_;
    EmptyCells empties_; // listed off the occupancy bits
};

// The same pass written as plainly as it reads, for reference and tests.
void ApplyRecruitmentLiteral(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng,
                             GRateRanges& observed);

} // namespace quorrel
