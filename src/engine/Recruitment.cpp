#include "engine/Recruitment.h"

#include "engine/GridOperations.h"
#include "engine/Thresholds.h"

#include <algorithm>

namespace quorrel {

std::optional<Cell> DrawOpenRecruit(const ParameterSet& p, const GRateRanges& fractions, Rng& rng)
{
    const int s = static_cast<int>(rng.RandomInt(p.GParamRec.Maxspec)) + 1;
    if (!(rng.RandomReal() < p.RecruitmentVector[s]))
        return std::nullopt;
    return Cell{s, DrawGRate(fractions, rng, s)};
}

void MutateRecruitGRate(const GParamStruct& g, Rng& rng, Cell& recruit, bool variable, GRateFraction* widen)
{
    if (!(rng.RandomReal() < g.MutationGR) || !variable)
        return;
    const double amount = g.MutAmtGR * 0.01;
    if (rng.RandomReal() < 0.5)
        recruit.GRate = float(std::min(double(recruit.GRate) + amount, 1.0));
    else
        recruit.GRate = float(std::max(double(recruit.GRate) - amount, 0.0));
    if (widen != nullptr) {
        if (recruit.GRate > widen->High)
            widen->High = recruit.GRate;
        if (recruit.GRate < widen->Low)
            widen->Low = recruit.GRate;
    }
}

namespace {

// The mutation of a recruit of the fixed-outcome model: variable by the growth-rate table;
// open recruits widen observed.
void Mutate(const ParameterSet& p, Rng& rng, Cell& recruit, GRateRanges& observed, bool open)
{
    MutateRecruitGRate(p.GParamRec, rng, recruit, p.HasVariableGRate(recruit.Species),
                       open ? &observed[recruit.Species] : nullptr);
}

} // namespace

void ApplyRecruitmentLiteral(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng,
                             GRateRanges& observed)
{
    const GParamStruct& g = p.GParamRec;
    const bool open = g.RecruitType == 0;
    if (g.RecruitType != 0 && g.RecruitType != 1)
        return;
    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1; x <= g.MaxX; ++x) {
            if (grid(x, y).Species != 0)
                continue;
            if (!(rng.RandomReal() < g.Influx))
                continue;
            Cell recruit;
            if (open) {
                const std::optional<Cell> arrival = DrawOpenRecruit(p, fractions, rng);
                if (!arrival)
                    continue;
                recruit = *arrival;
            } else {
                int px = 0;
                int py = 0;
                if (!FindRecruitParent(g, grid, rng, px, py))
                    return;
                recruit = grid(px, py);
                if (!(rng.RandomReal() < p.RecruitmentVector[recruit.Species]))
                    continue;
            }
            Mutate(p, rng, recruit, observed, open);
            grid(x, y) = recruit;
        }
    }
}

void ApplyRecruitment(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng,
                      GRateRanges& observed, const EmptyCells* empties)
{
    const GParamStruct& g = p.GParamRec;
    const bool open = g.RecruitType == 0;
    if (g.RecruitType != 0 && g.RecruitType != 1)
        return;
    // Only the influx test is taken by every empty cell; it runs on a local state.
    const uint64_t influx = DrawThreshold(g.Influx);
    uint32_t seed = rng.RandSeed;
    // Visits the empty cell (x, y); false when the pass ends here. A recruit fills only the
    // cell visited, so a list of the cells empty before the pass stays true.
    const auto visit = [&](int x, int y) {
        seed = seed * Rng::Multiplier + Rng::Increment;
        if (seed >= influx)
            return true;
        rng.RandSeed = seed;
        Cell recruit;
        bool arrives = true;
        if (open) {
            const std::optional<Cell> arrival = DrawOpenRecruit(p, fractions, rng);
            arrives = arrival.has_value();
            if (arrives)
                recruit = *arrival;
        } else {
            int px = 0;
            int py = 0;
            if (!FindRecruitParent(g, grid, rng, px, py))
                return false;
            recruit = grid(px, py);
            arrives = rng.RandomReal() < p.RecruitmentVector[recruit.Species];
        }
        if (arrives) {
            Mutate(p, rng, recruit, observed, open);
            grid(x, y) = recruit;
        }
        seed = rng.RandSeed;
        return true;
    };
    if (ForEachEmptyCell(grid, g.MaxX, g.MaxY, empties, visit))
        rng.RandSeed = seed;
}

bool FindRecruitParent(const GParamStruct& g, const LandscapeGrid& grid, Rng& rng, int& px, int& py)
{
    int tries = g.MaxX * g.MaxY;
    do {
        px = static_cast<int>(rng.RandomInt(g.MaxX)) + 1;
        py = static_cast<int>(rng.RandomInt(g.MaxY)) + 1;
        --tries;
    } while (grid(px, py).Species == 0 && tries >= 0);
    return grid(px, py).Species != 0 || FindOccupiedCell(g, grid, px, py);
}

} // namespace quorrel
