#include "engine/VariableContention.h"

#include "engine/GenotypeOperations.h"
#include "params/AssertionFailure.h"

#include <cstddef>
#include <cstring>

namespace quorrel {

namespace {

// Neighbour offsets in cells of a landscape grid: 0 left, 1 below, 2 right, 3 above.
constexpr std::ptrdiff_t CellOffset[4] = {-1, LandscapeGrid::Size, 1, -LandscapeGrid::Size};

inline void Prefetch(const void* address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// A genotype copy of a known small size, without a library call per genotype.
inline void CopyRecord(OutcomeTriple* to, const OutcomeTriple* from, std::size_t bytes)
{
    auto* d = reinterpret_cast<unsigned char*>(to);
    const auto* s = reinterpret_cast<const unsigned char*>(from);
    std::size_t i = 0;
    for (; i + 16 <= bytes; i += 16)
        std::memcpy(d + i, s + i, 16);
    for (; i < bytes; ++i)
        d[i] = s[i];
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
            r.highestSum = int16_t((r.winVariable ? 100 : r.fixedWin) + (r.lossVariable ? 100 : r.fixedLoss));
        }
    }
}

void VariableContention::Run(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& previousG,
                             LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, bool bounded,
                             Rng& rng)
{
    Prepare(p);
    Pass<false>(p, previous, previousG, current, currentG, occupied, bounded, rng);
}

void VariableContention::RunInPlace(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& ring,
                                    LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, bool bounded,
                                    Rng& rng)
{
    Prepare(p);
    Pass<true>(p, previous, ring, current, currentG, occupied, bounded, rng);
}

void VariableContention::Flush(Stage& stage, GenotypeGrid& currentG, int maxspec)
{
    for (int i = 0; i < stage.count; ++i) {
        const int x = stage.columns[i];
        CopyRecord(currentG.Genotype(x, stage.row), stage.triples + static_cast<std::size_t>(x - 1) * maxspec,
                   sizeof(OutcomeTriple) * maxspec);
    }
    stage.count = 0;
}

// A row in four passes: every cell keeps its occupant and the cells that meet a
// neighbour of another species are listed; for those the bytes they read are located and
// requested from memory; then the draws decide; then the cells taken over get the
// neighbour's individual and genotype.
//
// InPlace false: every genotype is read from source (the previous grid); a row's
// genotypes are copied whole and those of cells taken over written again. InPlace true:
// interior genotypes are read from currentG, ring genotypes from source; a cell taken
// over is written at once unless the cell to its right (through its left neighbour) or
// the cell below it (through its upper neighbour) will look at it, in which case it is
// staged and written after the next row.
template <bool InPlace>
void VariableContention::Pass(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& source,
                              LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, bool bounded,
                              Rng& rng)
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
    static constexpr int8_t NoOutcome = 0;

    jump_.States(rng.RandSeed, states_[0].data(), 2 * maxX);
    for (int y = 1; y <= maxY; ++y) {
        const uint32_t* st = states_[(y - 1) & 1].data();
        uint32_t* next = states_[y & 1].data();
        const uint32_t rowEnd = st[2 * maxX - 1];
        if (y < maxY)
            jump_.States(rowEnd, next, 2 * maxX);
        else
            rng.RandSeed = rowEnd;
        const Cell* prev = previous.Row(y);
        Cell* out = current.Row(y);
        const OutcomeTriple* sourceRow = source.Genotype(0, y);
        OutcomeTriple* currentRow = currentG.Genotype(0, y);
        const OutcomeTriple* ownRow = InPlace ? currentRow : sourceRow;
        // The genotype of neighbour d of cell x; in place, only ring positions come from source.
        auto neighbourGenotype = [&](int x, int d) {
            const bool inRing = (d == 0 && x == 1) || (d == 1 && y == maxY) || (d == 2 && x == maxX) ||
                                (d == 3 && y == 1);
            const OutcomeTriple* row = InPlace && !inRing ? currentRow : sourceRow;
            return row + static_cast<std::ptrdiff_t>(x) * ms + genotypeOffset[d];
        };

        // The genotypes of the row after next are streamed in while this row is worked on.
        if (y + 2 <= maxY) {
            const char* ahead = reinterpret_cast<const char*>((InPlace ? currentG : source).Genotype(1, y + 2));
            const std::size_t rowBytes = bytes * maxX;
            for (std::size_t at = 0; at < rowBytes; at += 64)
                Prefetch(ahead + at);
        }
        int count = 0;
        for (int x = 1; x <= maxX; ++x) {
            const int d = static_cast<int>(st[2 * (x - 1)] >> 30);
            const Cell o = prev[x];
            const Cell n = prev[x + CellOffset[d]];
            out[x] = o;
            encounters_[count] = static_cast<int16_t>(x);
            count += (n.Species != o.Species) & (n.Species != 0);
        }

        // Cells that the draw cannot let be taken, whatever W and L turn out to be, are
        // dropped before their genotypes are read.
        int kept = 0;
        for (int k = 0; k < count; ++k) {
            const int x = encounters_[k];
            const int d = static_cast<int>(st[2 * (x - 1)] >> 30);
            const Cell o = prev[x];
            const Cell n = prev[x + CellOffset[d]];
            encounters_[kept] = static_cast<int16_t>(x);
            if (o.Species == 0) {
                winAt_[kept] = &NoOutcome;
                lossAt_[kept] = &NoOutcome;
                rate_[kept] = n.GRate;
                colonise_[kept] = 1;
                ++kept;
                continue;
            }
            const PairRule& r = rules_[n.Species * stride_ + o.Species];
            const float rate = r.ownRate ? n.GRate : r.rate;
            const float highest = float(overGrowth_ * double(r.highestSum) * 0.005 * double(rate));
            const bool possible = !bounded || overGrowth_ < 0.0 || !(rate >= 0.0f) ||
                                  double(st[2 * (x - 1) + 1]) < double(highest) * 4294967296.0;
            const int8_t* win = r.winVariable ? &neighbourGenotype(x, d)[o.Species - 1].Win : &r.fixedWin;
            const int8_t* loss =
                r.lossVariable ? &(ownRow + static_cast<std::ptrdiff_t>(x) * ms)[n.Species - 1].Loss : &r.fixedLoss;
            winAt_[kept] = win;
            lossAt_[kept] = loss;
            rate_[kept] = rate;
            colonise_[kept] = 0;
            Prefetch(possible ? win : &NoOutcome);
            Prefetch(possible ? loss : &NoOutcome);
            kept += possible;
        }
        count = kept;

        int takes = 0;
        for (int k = 0; k < count; ++k) {
            const int x = encounters_[k];
            const int w = *winAt_[k];
            const int l = *lossAt_[k];
            const float overgrowth = float(overGrowth_ * double(w + l) * 0.005 * double(rate_[k]));
            const float prob = colonise_[k] != 0 ? rate_[k] : overgrowth;
            // RandomReal() < prob, with the draw state / 2^32 scaled back exactly.
            taken_[takes] = static_cast<int16_t>(x);
            takes += double(st[2 * (x - 1) + 1]) < double(prob) * 4294967296.0;
        }

        // The whole genotypes that will be copied, ahead of the copies.
        for (int t = 0; t < takes; ++t) {
            const int x = taken_[t];
            const auto* from = reinterpret_cast<const char*>(neighbourGenotype(x, static_cast<int>(st[2 * (x - 1)] >> 30)));
            for (std::size_t at = 0; at < bytes; at += 64)
                Prefetch(from + at);
            Prefetch(from + bytes - 1);
        }

        Stage& stage = stages_[y & 1];
        stage.row = y;
        stage.count = 0;
        if constexpr (!InPlace)
            std::memcpy(currentRow + ms, sourceRow + ms, bytes * maxX);
        for (int t = 0; t < takes; ++t) {
            const int x = taken_[t];
            const int d = static_cast<int>(st[2 * (x - 1)] >> 30);
            out[x] = prev[x + CellOffset[d]];
            const OutcomeTriple* gn = neighbourGenotype(x, d);
            OutcomeTriple* target = currentRow + static_cast<std::ptrdiff_t>(x) * ms;
            if constexpr (InPlace) {
                const bool readLater =
                    (x < maxX && (st[2 * x] >> 30) == 0) || (y < maxY && (next[2 * (x - 1)] >> 30) == 3);
                if (readLater) {
                    target = stage.triples + static_cast<std::size_t>(x - 1) * ms;
                    stage.columns[stage.count++] = static_cast<int16_t>(x);
                }
            }
            CopyRecord(target, gn, bytes);
        }
        if (occupied != nullptr) {
            for (int x = 1; x <= maxX; ++x)
                occupied[x - 1] = out[x].Species != 0;
            occupied += maxX;
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
                                              LandscapeGrid&, GenotypeGrid&, uint8_t*, bool, Rng&);
template void VariableContention::Pass<true>(const ParameterSet&, const LandscapeGrid&, const GenotypeGrid&,
                                             LandscapeGrid&, GenotypeGrid&, uint8_t*, bool, Rng&);

} // namespace quorrel
