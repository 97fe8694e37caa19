#include "engine/VariableRecruitment.h"

#include "engine/GenotypeOperations.h"
#include "engine/GridOperations.h"
#include "engine/Recruitment.h"

#include <algorithm>

namespace quorrel {

namespace {

// False when a mutated entry has a Win or Loss above 100 (a negative MutAmtOTC, or an
// entry that was unset).
bool MutateOutcomes(const ParameterSet& p, Rng& rng, int s, OutcomeTriple* genotype, VariableOutcomeRange* widen)
{
    bool bounded = true;
    const GParamStruct& g = p.GParamRec;
    for (int j = 1; j <= g.Maxspec; ++j) {
        if (j == s || !IsVariablePair(p, s, j))
            continue;
        OutcomeTriple& t = genotype[j - 1];
        if (rng.RandomReal() < g.MutationOTC) {
            MutateTriple(t, g.MutAmtOTC, rng);
            bounded = bounded && t.Win <= 100 && t.Loss <= 100;
        }
        if (widen != nullptr) {
            widen->WinLow = std::min(widen->WinLow, t.Win);
            widen->WinHigh = std::max(widen->WinHigh, t.Win);
            widen->LossLow = std::min(widen->LossLow, t.Loss);
            widen->LossHigh = std::max(widen->LossHigh, t.Loss);
        }
    }
    return bounded;
}

bool Recruit(ParameterSet& p, LandscapeGrid& landscape, GenotypeGrid& genotypes, Rng& rng,
             GRateRanges& observedGRate, OutcomeRanges& ranges, const uint8_t* emptied)
{
    const GParamStruct& g = p.GParamRec;
    const bool open = g.RecruitType == 0;
    const bool recruits = g.RecruitType == 0 || g.RecruitType == 1;
    bool bounded = true;
    bool ended = false;
    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1; x <= g.MaxX; ++x) {
            if (landscape(x, y).Species != 0)
                continue;
            OutcomeTriple* genotype = genotypes.Genotype(x, y);
            if (emptied != nullptr && emptied[(y - 1) * g.MaxX + x - 1] != 0)
                std::fill_n(genotype, g.Maxspec, UnsetTriple);
            if (ended || !recruits)
                continue;
            if (!(rng.RandomReal() < g.Influx))
                continue;
            Cell recruit;
            if (open) {
                const std::optional<Cell> arrival = DrawOpenRecruit(p, rng);
                if (!arrival)
                    continue;
                recruit = *arrival;
                std::fill_n(genotype, g.Maxspec, UnsetTriple);
                SeedGenotype(p, ranges.Seed, recruit.Species, genotype, rng);
            } else {
                int px = 0;
                int py = 0;
                if (!FindRecruitParent(g, landscape, rng, px, py)) {
                    // The landscape is empty: nothing more arrives in this pass.
                    ended = true;
                    if (emptied == nullptr)
                        return bounded;
                    continue;
                }
                recruit = landscape(px, py);
                if (!(rng.RandomReal() < p.RecruitmentVector[recruit.Species]))
                    continue;
                std::copy_n(genotypes.Genotype(px, py), g.Maxspec, genotype);
            }
            // Whether the recruit's rate is variable is read from the observed ranges.
            MutateRecruitGRate(g, rng, recruit, observedGRate[recruit.Species].Rate < 0.0f,
                               open ? &observedGRate[recruit.Species] : nullptr);
            bounded = MutateOutcomes(p, rng, recruit.Species, genotype,
                                     open ? &ranges.Observed[recruit.Species] : nullptr) &&
                      bounded;
            landscape(x, y) = recruit;
        }
    }
    return bounded;
}

} // namespace

bool RecruitWithMutation(ParameterSet& p, LandscapeGrid& landscape, GenotypeGrid& genotypes, Rng& rng,
                         GRateRanges& observedGRate, OutcomeRanges& ranges, const uint8_t* emptied)
{
    const bool bounded = Recruit(p, landscape, genotypes, rng, observedGRate, ranges, emptied);
    for (int s = 1; s <= p.GParamRec.Maxspec; ++s) {
        if (p.GRateFractions[s].Rate < 0.0f)
            p.GRateFractions[s] = observedGRate[s];
        ranges.Seed[s] = ranges.Observed[s];
    }
    return bounded;
}

} // namespace quorrel
