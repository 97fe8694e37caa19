#include "engine/VariableContention.h"

#include "engine/GenotypeOperations.h"
#include "params/AssertionFailure.h"

#include <cstddef>
#include <cstring>

namespace quorrel {

namespace {

// Neighbour offsets in cells of a landscape grid: 0 left, 1 below, 2 right, 3 above.
constexpr std::ptrdiff_t CellOffset[4] = {-1, LandscapeGrid::Size, 1, -LandscapeGrid::Size};

constexpr int PrefetchDistance = 16;

inline void Prefetch(const void* address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

} // namespace

VariableContention::VariableContention()
    : stageStore_(new OutcomeTriple[2 * static_cast<std::size_t>(MaxRow) * MaxSpecies])
{
    stages_[0].triples = stageStore_.get();
    stages_[1].triples = stageStore_.get() + static_cast<std::size_t>(MaxRow) * MaxSpecies;
}

void VariableContention::Prepare(const ParameterSet& p)
{
    const int maxspec = p.GParamRec.Maxspec;
    stride_ = maxspec + 1;
    overGrowth_ = p.GParamRec.OverGRate * 0.01;
    for (int n = 1; n <= maxspec; ++n) {
        for (int o = 1; o <= maxspec; ++o) {
            PairRule& r = rules_[n * stride_ + o];
            r.winVariable = IsVariablePair(p, n, o);
            r.lossVariable = IsVariablePair(p, o, n);
            r.fixedWin = p.OutcomeMatrix[n][o].Win;
            r.fixedLoss = p.OutcomeMatrix[o][n].Loss;
            r.ownRate = !(DependentGRates && p.GRateFractions[n].Rate >= 0.0f);
            r.rate = p.RateAgainst[n][o];
        }
    }
}

void VariableContention::Run(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& previousG,
                             LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, Rng& rng)
{
    Prepare(p);
    Pass<false>(p, previous, previousG, current, currentG, occupied, rng);
}

void VariableContention::RunInPlace(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& ring,
                                    LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, Rng& rng)
{
    Prepare(p);
    Pass<true>(p, previous, ring, current, currentG, occupied, rng);
}

void VariableContention::Flush(Stage& stage, GenotypeGrid& currentG, int maxspec)
{
    for (int i = 0; i < stage.count; ++i) {
        const int x = stage.columns[i];
        std::memcpy(currentG.Genotype(x, stage.row), stage.triples + static_cast<std::size_t>(x - 1) * maxspec,
                    sizeof(OutcomeTriple) * maxspec);
    }
    stage.count = 0;
}

// InPlace false: every genotype is read from source (the previous grid) and every cell's
// genotype written to currentG. InPlace true: interior genotypes are read from currentG,
// ring genotypes from source; a cell taken over is written at once unless the cell to
// its right (through its left neighbour) or the cell below it (through its upper
// neighbour) will look at it, in which case it is staged and written after the next row.
template <bool InPlace>
void VariableContention::Pass(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& source,
                              LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, Rng& rng)
{
    const GParamStruct& g = p.GParamRec;
    const int maxX = g.MaxX;
    const int maxY = g.MaxY;
    const int ms = g.Maxspec;
    if (!source.Fits(maxX, maxY, ms) || !currentG.Fits(maxX, maxY, ms))
        QRL_FAIL("nil cell within the landscape", "ModelTwo");
    const std::size_t bytes = sizeof(OutcomeTriple) * ms;
    const std::ptrdiff_t rowTriples = static_cast<std::ptrdiff_t>(maxX + 2) * ms;
    const std::ptrdiff_t genotypeOffset[4] = {-ms, rowTriples, ms, -rowTriples};

    jump_.States(rng.RandSeed, states_[0].data(), 2 * maxX);
    for (int y = 1; y <= maxY; ++y) {
        const uint32_t* st = states_[(y - 1) & 1].data();
        uint32_t* next = states_[y & 1].data();
        const uint32_t rowEnd = st[2 * maxX - 1];
        if (y < maxY)
            jump_.States(rowEnd, next, 2 * maxX);
        else
            rng.RandSeed = rowEnd;
        Stage& stage = stages_[y & 1];
        stage.row = y;
        stage.count = 0;
        const Cell* prev = previous.Row(y);
        Cell* out = current.Row(y);
        for (int x = 1; x <= maxX; ++x) {
            // The genotype bytes that a cell a little further on will read are requested
            // now, so that their memory latency overlaps the work on the cells between.
            if (x + PrefetchDistance <= maxX) {
                const int ax = x + PrefetchDistance;
                const int ad = static_cast<int>(st[2 * (ax - 1)] >> 30);
                const int as = prev[ax].Species;
                const int an = prev[ax + CellOffset[ad]].Species;
                if (an != as && an != 0) {
                    const OutcomeTriple* own = (InPlace ? currentG : source).Genotype(ax, y);
                    Prefetch(own + genotypeOffset[ad] + (as != 0 ? as - 1 : 0));
                    if (as != 0)
                        Prefetch(own + an - 1);
                }
            }
            const int d = static_cast<int>(st[2 * (x - 1)] >> 30);
            const Cell o = prev[x];
            const Cell n = prev[x + CellOffset[d]];
            bool take = false;
            const OutcomeTriple* gn = nullptr;
            if (n.Species != o.Species && n.Species != 0) {
                float prob = n.GRate;
                // The neighbour's genotype: in place, only ring positions come from source.
                const bool inRing = (d == 0 && x == 1) || (d == 1 && y == maxY) || (d == 2 && x == maxX) ||
                                    (d == 3 && y == 1);
                const GenotypeGrid& holder = InPlace && !inRing ? currentG : source;
                gn = holder.Genotype(x, y) + genotypeOffset[d];
                if (o.Species != 0) {
                    const PairRule& r = rules_[n.Species * stride_ + o.Species];
                    const OutcomeTriple* go = InPlace ? currentG.Genotype(x, y) : source.Genotype(x, y);
                    const int w = r.winVariable ? gn[o.Species - 1].Win : r.fixedWin;
                    const int l = r.lossVariable ? go[n.Species - 1].Loss : r.fixedLoss;
                    const double rate = r.ownRate ? double(n.GRate) : double(r.rate);
                    prob = float(overGrowth_ * double(w + l) * 0.005 * rate);
                }
                // RandomReal() < prob, with the draw state / 2^32 scaled back exactly.
                take = double(st[2 * (x - 1) + 1]) < double(prob) * 4294967296.0;
            }
            const Cell result = take ? n : o;
            out[x] = result;
            if (occupied != nullptr)
                *occupied++ = result.Species != 0;
            if constexpr (InPlace) {
                if (take) {
                    const bool readLater = (x < maxX && (st[2 * x] >> 30) == 0) || (y < maxY && (next[2 * (x - 1)] >> 30) == 3);
                    if (readLater) {
                        std::memcpy(stage.triples + static_cast<std::size_t>(x - 1) * ms, gn, bytes);
                        stage.columns[stage.count++] = static_cast<int16_t>(x);
                    } else {
                        std::memcpy(currentG.Genotype(x, y), gn, bytes);
                    }
                }
            } else {
                std::memcpy(currentG.Genotype(x, y), take ? gn : source.Genotype(x, y), bytes);
            }
        }
        if constexpr (InPlace) {
            if (y > 1)
                Flush(stages_[(y - 1) & 1], currentG, ms);
        }
    }
    if constexpr (InPlace)
        Flush(stages_[maxY & 1], currentG, ms);
}

template void VariableContention::Pass<false>(const ParameterSet&, const LandscapeGrid&, const GenotypeGrid&,
                                              LandscapeGrid&, GenotypeGrid&, uint8_t*, Rng&);
template void VariableContention::Pass<true>(const ParameterSet&, const LandscapeGrid&, const GenotypeGrid&,
                                             LandscapeGrid&, GenotypeGrid&, uint8_t*, Rng&);

} // namespace quorrel
