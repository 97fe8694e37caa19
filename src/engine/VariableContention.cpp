#include "engine/VariableContention.h"

#include "engine/WideKernel.h"
#include "engine/GenotypeOperations.h"
#include "params/AssertionFailure.h"

#include <cstddef>
#include <cstring>

namespace quorrel {

namespace {

inline void Prefetch(const void* address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

} // namespace

VariableContention::VariableContention() : wide_(WideKernelAvailable()) {}

void VariableContention::UseWideKernel(bool on)
{
    wide_ = on && WideKernelAvailable();
}

void VariableContention::Prepare(const ParameterSet& p)
{
    const int maxspec = p.GParamRec.Maxspec;
    stride_ = maxspec + 1;
    rules_.fill(PairRule{});
    const double overGrowth = p.GParamRec.OverGRate * 0.01;
    for (int sum = -SumOffset; sum < SumOffset; ++sum)
        strength_[sum + SumOffset] = overGrowth * double(sum) * 0.005;
    for (int n = 1; n <= maxspec; ++n) {
        rules_[n * stride_].colonise = true;
        for (int o = 1; o <= maxspec; ++o) {
            PairRule& r = rules_[n * stride_ + o];
            r.winVariable = IsVariablePair(p, n, o);
            r.lossVariable = IsVariablePair(p, o, n);
            r.ownRate = !(DependentGRates && p.GRateFractions[n].Rate >= 0.0f);
            r.fixedWin = p.OutcomeMatrix[n][o].Win;
            r.fixedLoss = p.OutcomeMatrix[o][n].Loss;
            r.winAt = int16_t((o - 1) * 3);
            r.lossAt = int16_t((n - 1) * 3 + 1);
            r.rate = p.RateAgainst[n][o];
        }
    }
}

// A row in four passes: every cell keeps its occupant and genotype, and the encounters are
// listed; for those the bytes they read are located and requested from memory; then the
// draws decide; then the cells taken over get the neighbour's individual and genotype.
void VariableContention::Run(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& previousG,
                             LandscapeGrid& current, GenotypeGrid& currentG, Rng& rng,
                             RowSteps steps)
{
    const GParamStruct& g = p.GParamRec;
    const int maxX = g.MaxX;
    const int maxY = g.MaxY;
    const int ms = g.Maxspec;
    if (!previousG.Fits(maxX, maxY, ms) || !currentG.Fits(maxX, maxY, ms) || !previousG.SharesPoolWith(currentG))
        QRL_FAIL("nil cell within the landscape", "ModelTwo");
    Prepare(p);
    const auto* records = reinterpret_cast<const int8_t*>(previousG.Pool().Record(0));
    const std::ptrdiff_t recordBytes = static_cast<std::ptrdiff_t>(previousG.RecordBytes());
    const std::ptrdiff_t width = static_cast<std::ptrdiff_t>(previousG.Width());
    const std::ptrdiff_t idOffset[4] = {-1, width, 1, -width};
    Encounters& e = encounters_;

    uint32_t seed = rng.RandSeed;
    steps.Begin(seed, jump_.Mul[2 * maxX], jump_.Add[2 * maxX], maxY);
    for (int y = 1; y <= maxY; ++y) {
        const uint32_t* st = states_.data();
        jump_.States(seed, states_.data(), 2 * maxX);
        seed = st[2 * maxX - 1];
        const Cell* prev = previous.Row(y);
        Cell* out = current.Row(y);
        const uint32_t* prevIds = previousG.IdRow(y);
        uint32_t* outIds = currentG.IdRow(y);

        std::memcpy(out + 1, prev + 1, sizeof(Cell) * maxX);
        std::memcpy(outIds + 1, prevIds + 1, sizeof(uint32_t) * maxX);
        if (wide_)
            ListEncountersWide(prev, prevIds, width, maxX, st, stride_, e);
        else
            ListEncountersPortable(prev, prevIds, width, maxX, st, stride_, e);

        // Where each encounter reads its W and L (a genotype byte, or the pair's value in
        // the matrix), requested from memory ahead of the decisions.
        for (int k = 0; k < e.Count; ++k) {
            const PairRule& r = rules_[e.Pair[k]];
            const int8_t* win = r.winVariable ? records + e.InvaderId[k] * recordBytes + r.winAt : &r.fixedWin;
            const int8_t* loss = r.lossVariable ? records + e.OccupantId[k] * recordBytes + r.lossAt : &r.fixedLoss;
            Prefetch(win);
            Prefetch(loss);
            winAt_[k] = win;
            lossAt_[k] = loss;
            rate_[k] = r.ownRate ? e.Rate[k] : r.rate;
            colonise_[k] = r.colonise;
        }

        // The decisions: colonisation at the neighbour's own rate, overgrowth from W + L.
        int takes = 0;
        for (int k = 0; k < e.Count; ++k) {
            const float overgrowth = float(strength_[*winAt_[k] + *lossAt_[k] + SumOffset] * double(rate_[k]));
            const float prob = colonise_[k] ? e.Rate[k] : overgrowth;
            // RandomReal() < prob, with the draw state / 2^32 scaled back exactly.
            taken_[takes] = static_cast<int16_t>(e.Column[k]);
            takes += double(e.Draw[k]) < double(prob) * 4294967296.0;
        }

        for (int t = 0; t < takes; ++t) {
            const int x = taken_[t];
            const int d = static_cast<int>(st[2 * (x - 1)] >> 30);
            out[x] = prev[x + LandscapeGrid::NeighbourOffset[d]];
            outIds[x] = prevIds[x + idOffset[d]];
        }
        steps.Row(out, maxX, y);
    }
    rng.RandSeed = steps.End(seed);
}

} // namespace quorrel
