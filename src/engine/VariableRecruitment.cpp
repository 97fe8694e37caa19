#include "engine/VariableRecruitment.h"

#include "engine/GenotypeOperations.h"
#include "engine/GridOperations.h"
#include "engine/Recruitment.h"

#include <algorithm>

namespace quorrel {

namespace {

// Mutates the variable entries of the recruit of species s at (x, y). own is the record
// the recruit already has to itself, if any; otherwise it takes one (a copy) before its
// first change.
void MutateOutcomes(const ParameterSet& p, Rng& rng, int s, GenotypeGrid& genotypes, int x, int y,
                    OutcomeTriple* own, VariableOutcomeRange* widen)
{
    const GParamStruct& g = p.GParamRec;
    for (int j = 1; j <= g.Maxspec; ++j) {
        if (j == s || !IsVariablePair(p, s, j))
            continue;
        if (rng.RandomReal() < g.MutationOTC) {
            if (own == nullptr)
                own = genotypes.Edit(x, y);
            MutateTriple(own[j - 1], g.MutAmtOTC, rng);
        }
        if (widen != nullptr) {
            const OutcomeTriple& t = genotypes.Triple(x, y, j);
            widen->WinLow = std::min(widen->WinLow, t.Win);
            widen->WinHigh = std::max(widen->WinHigh, t.Win);
            widen->LossLow = std::min(widen->LossLow, t.Loss);
            widen->LossHigh = std::max(widen->LossHigh, t.Loss);
        }
    }
}

// The pass over the empty cells, from the list when one is given (a recruit fills only
// the cell visited, so a list of the cells empty before the pass stays true).
void Recruit(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& landscape, GenotypeGrid& genotypes,
             Rng& rng, GRateRanges& observedGRate, OutcomeRanges& ranges, bool clearEmpty, const EmptyCells* empties)
{
    const GParamStruct& g = p.GParamRec;
    const bool open = g.RecruitType == 0;
    const bool recruits = g.RecruitType == 0 || g.RecruitType == 1;
    bool ended = false;
    // Visits the empty cell (x, y); false when the pass ends here.
    const auto visit = [&](int x, int y) {
        if (clearEmpty)
            genotypes.Unset(x, y);
        if (ended || !recruits)
            return true;
        if (!(rng.RandomReal() < g.Influx))
            return true;
        Cell recruit;
        OutcomeTriple* own = nullptr;
        if (open) {
            const std::optional<Cell> arrival = DrawOpenRecruit(p, fractions, rng);
            if (!arrival)
                return true;
            recruit = *arrival;
            if (HasVariableEntries(p, recruit.Species)) {
                own = genotypes.Renew(x, y);
                SeedGenotype(p, ranges.Seed, recruit.Species, own, rng);
            } else {
                genotypes.Unset(x, y);
            }
        } else {
            int px = 0;
            int py = 0;
            if (!FindRecruitParent(g, landscape, rng, px, py)) {
                // The landscape is empty: nothing more arrives in this pass.
                ended = true;
                return clearEmpty;
            }
            recruit = landscape(px, py);
            if (!(rng.RandomReal() < p.RecruitmentVector[recruit.Species]))
                return true;
            genotypes.Assign(x, y, genotypes.Id(px, py));
        }
        // Whether the recruit's rate is variable is read from the observed ranges.
        MutateRecruitGRate(g, rng, recruit, observedGRate[recruit.Species].Rate < 0.0f,
                           open ? &observedGRate[recruit.Species] : nullptr);
        MutateOutcomes(p, rng, recruit.Species, genotypes, x, y, own, open ? &ranges.Observed[recruit.Species] : nullptr);
        landscape(x, y) = recruit;
        return true;
    };
    ForEachEmptyCell(landscape, g.MaxX, g.MaxY, empties, visit);
}

} // namespace

void RecruitWithMutation(const ParameterSet& p, GRateRanges& fractions, LandscapeGrid& landscape,
                         GenotypeGrid& genotypes, Rng& rng, GRateRanges& observedGRate, OutcomeRanges& ranges,
                         bool clearEmpty, const EmptyCells* empties)
{
    Recruit(p, fractions, landscape, genotypes, rng, observedGRate, ranges, clearEmpty, empties);
    for (int s = 1; s <= p.GParamRec.Maxspec; ++s) {
        if (fractions[s].Rate < 0.0f)
            fractions[s] = observedGRate[s];
        ranges.Seed[s] = ranges.Observed[s];
    }
}

} // namespace quorrel
