#include "engine/Recruitment.h"

#include "engine/GridOperations.h"
#include "engine/RngJump.h"
#include "engine/Thresholds.h"

#include <algorithm>
#include <array>
#include <bit>

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

bool SameArrivalForAll(const ParameterSet& p)
{
    const float first = p.RecruitmentVector[1];
    return std::all_of(p.RecruitmentVector.begin() + 1, p.RecruitmentVector.begin() + p.GParamRec.Maxspec + 1,
                       [first](float r) { return r == first; });
}

namespace {

// The recruit at (x, y), whose influx draw has just been taken; false when the pass ends
// here. parent(px, py) looks for a closed recruit's parent, speciesAt(px, py) tells its
// species, filled(x, y, species) hears of each cell filled. A recruit fills only the cell
// visited, so the cells after it in the row, and a list of the cells empty before the pass,
// stay as they were.
template <class Parent, class SpeciesAt, class Filled>
bool Arrive(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng, GRateRanges& observed,
            int x, int y, Parent&& parent, SpeciesAt&& speciesAt, Filled&& filled)
{
    const bool open = p.GParamRec.RecruitType == 0;
    Cell recruit;
    if (open) {
        const std::optional<Cell> arrival = DrawOpenRecruit(p, fractions, rng);
        if (!arrival)
            return true;
        recruit = *arrival;
    } else {
        int px = 0;
        int py = 0;
        if (!parent(px, py))
            return false;
        if (!(rng.RandomReal() < p.RecruitmentVector[speciesAt(px, py)]))
            return true;
        recruit = grid(px, py);
    }
    Mutate(p, rng, recruit, observed, open);
    grid(x, y) = recruit;
    filled(x, y, recruit.Species);
    return true;
}

} // namespace

void RecruitmentPass::Apply(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng,
                            GRateRanges& observed, const EmptyCells* empties)
{
    const GParamStruct& g = p.GParamRec;
    if (g.RecruitType != 0 && g.RecruitType != 1)
        return;
    std::array<uint64_t, MaxSpecies + 1> threshold{};
    threshold[0] = DrawThreshold(g.Influx);
    scan_.Prepare(DrawScan::Drawers::Empty, threshold);
    bool mapped = false;
    const auto parent = [&](int& px, int& py) {
        if (!mapped) {
            // Built before the first parent is looked for, when no cell has been filled
            // yet, so that a pass that looks for none does not build it.
            map_.Build(grid, g.MaxX, g.MaxY);
            mapped = true;
        }
        return FindRecruitParent(g, map_, grid, rng, px, py);
    };
    const auto filled = [&](int x, int y, int species) {
        if (mapped)
            map_.Set(x, y, species);
    };
    const auto speciesAt = [&](int px, int py) { return map_(px, py); };
    const auto arrive = [&](int x, int y) {
        return Arrive(p, fractions, grid, rng, observed, x, y, parent, speciesAt, filled);
    };
    if (empties != nullptr) {
        const int count = empties->Count();
        for (int i = scan_.NextBelow(count, threshold[0], rng.RandSeed); i < count;
             i += 1 + scan_.NextBelow(count - i - 1, threshold[0], rng.RandSeed)) {
            const int32_t at = (*empties)[i];
            if (!arrive(at % EmptyCells::Pack, at / EmptyCells::Pack))
                return;
        }
        return;
    }
    for (int y = 1; y <= g.MaxY; ++y) {
        const Cell* row = grid.Row(y);
        for (int x = scan_.NextInRow(row, 1, g.MaxX, rng.RandSeed); x <= g.MaxX;
             x = scan_.NextInRow(row, x + 1, g.MaxX, rng.RandSeed))
            if (!arrive(x, y))
                return;
    }
}

void RecruitmentPass::Apply(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng,
                            GRateRanges& observed, OccupancyBits& bits)
{
    const GParamStruct& g = p.GParamRec;
    if (g.RecruitType != 0 && g.RecruitType != 1)
        return;
    const uint64_t threshold = DrawThreshold(g.Influx);
    const auto parent = [&](int& px, int& py) { return FindRecruitParent(g, bits, grid, rng, px, py); };
    // Where every species arrives with the same probability, the parent's species is not
    // looked up for its arrival draw (it is any of them): only a recruit that arrives reads
    // its parent's cell.
    const bool sameArrival = SameArrivalForAll(p);
    const bool kept = bits.KeepsSpecies();
    const auto speciesAt = [&](int px, int py) {
        return sameArrival ? 1 : kept ? bits.Species(px, py) : grid(px, py).Species;
    };
    const auto filled = [&](int x, int y, int species) { bits.Set(x, y, species); };
    empties_.List(bits, g.MaxX, g.MaxY);
    const int count = empties_.Count();
    for (int i = scan_.NextBelow(count, threshold, rng.RandSeed); i < count;
         i += 1 + scan_.NextBelow(count - i - 1, threshold, rng.RandSeed)) {
        const int32_t at = empties_[i];
        if (!Arrive(p, fractions, grid, rng, observed, at % EmptyCells::Pack, at / EmptyCells::Pack, parent, speciesAt,
                    filled))
            return;
    }
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

namespace {

// The probes of a parent from state s one at a time, as the literal search makes them, until
// one finds an occupied cell or no try is left; returns the state after the last.
template <typename Occupied>
uint32_t ProbeOneByOne(const GParamStruct& g, uint32_t s, int tries, int& px, int& py, const Occupied& occupied)
{
    const uint64_t maxX = static_cast<uint32_t>(g.MaxX);
    const uint64_t maxY = static_cast<uint32_t>(g.MaxY);
    do {
        s = s * Rng::Multiplier + Rng::Increment;
        px = static_cast<int>((maxX * s) >> 32) + 1;
        s = s * Rng::Multiplier + Rng::Increment;
        py = static_cast<int>((maxY * s) >> 32) + 1;
        --tries;
    } while (!occupied(px, py) && tries >= 0);
    return s;
}

} // namespace

bool FindRecruitParent(const GParamStruct& g, const SpeciesMap& map, const LandscapeGrid& grid, Rng& rng, int& px,
                       int& py)
{
    rng.RandSeed = ProbeOneByOne(g, rng.RandSeed, g.MaxX * g.MaxY, px, py, [&](int x, int y) { return map(x, y) != 0; });
    return map(px, py) != 0 || FindOccupiedCell(g, grid, px, py);
}

bool FindRecruitParent(const GParamStruct& g, const OccupancyBits& bits, const LandscapeGrid& grid, Rng& rng, int& px,
                       int& py)
{
    static constexpr RngJump<8> jump;
    const uint64_t maxX = static_cast<uint32_t>(g.MaxX);
    const uint64_t maxY = static_cast<uint32_t>(g.MaxY);
    uint32_t s = rng.RandSeed;
    int tries = g.MaxX * g.MaxY;
    // Four probes at a time while four more are allowed: their states come off jump-ahead
    // coefficients and their cells are looked up together, and the first occupied one is
    // taken without a branch on each probe, which would be hard to foresee.
    while (tries >= 3) {
        int xs[4];
        int ys[4];
        unsigned found = 0;
        for (int k = 0; k < 4; ++k) {
            const uint32_t sx = jump.Mul[2 * k + 1] * s + jump.Add[2 * k + 1];
            const uint32_t sy = jump.Mul[2 * k + 2] * s + jump.Add[2 * k + 2];
            xs[k] = static_cast<int>((maxX * sx) >> 32) + 1;
            ys[k] = static_cast<int>((maxY * sy) >> 32) + 1;
            found |= unsigned(bits.Occupied(xs[k], ys[k])) << k;
        }
        if (found != 0) {
            const int k = std::countr_zero(found);
            px = xs[k];
            py = ys[k];
            rng.RandSeed = jump.Mul[2 * k + 2] * s + jump.Add[2 * k + 2];
            return true;
        }
        // The last probe's cell, where the search below starts when no try is left.
        px = xs[3];
        py = ys[3];
        s = jump.Mul[8] * s + jump.Add[8];
        tries -= 4;
    }
    if (tries >= 0)
        s = ProbeOneByOne(g, s, tries, px, py, [&](int x, int y) { return bits.Occupied(x, y); });
    rng.RandSeed = s;
    return bits.Occupied(px, py) || FindOccupiedCell(g, grid, px, py);
}

} // namespace quorrel
