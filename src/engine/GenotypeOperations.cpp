#include "engine/GenotypeOperations.h"

#include "params/AssertionFailure.h"

#include <algorithm>

namespace quorrel {

namespace {

// Genotypes move between grids as record numbers of their common pool.
void RequireSharedPool(const GenotypeGrid& from, const GenotypeGrid& to)
{
    if (!from.SharesPoolWith(to))
        QRL_FAIL("nil cell within the landscape", "ModelTwo");
}

// RandomInt(count) for a count that must be positive.
int DrawBelow(int count, Rng& rng)
{
    if (count < 1)
        QRL_FAIL("The seeding range of a variable outcome is empty", "ModelTwo");
    return static_cast<int>(rng.RandomInt(static_cast<uint32_t>(count)));
}

} // namespace

OutcomeTriple SeedTriple(const VariableOutcomeRange& r, Rng& rng)
{
    const int win = r.WinLow + DrawBelow(r.WinHigh - r.WinLow + 1, rng);
    const int loss = r.LossLow + DrawBelow(std::min(100 - win, int(r.LossHigh)) - r.LossLow + 1, rng);
    const int standoff = 100 - win - loss;
    if (win < 0 || win > 100 || loss < 0 || loss > 100 || standoff < 0)
        QRL_FAIL("A seeded outcome lies outside 0..100", "ModelTwo");
    return OutcomeTriple{int8_t(win), int8_t(loss), int8_t(standoff)};
}

bool HasVariableEntries(const ParameterSet& p, int s)
{
    for (int j = 1; j <= p.GParamRec.Maxspec; ++j)
        if (j != s && IsVariablePair(p, s, j))
            return true;
    return false;
}

void SeedGenotype(const ParameterSet& p, const VariableOutcomeTable& seedRanges, int s, OutcomeTriple* genotype,
                  Rng& rng)
{
    for (int j = 1; j <= p.GParamRec.Maxspec; ++j)
        if (j != s && IsVariablePair(p, s, j))
            genotype[j - 1] = SeedTriple(seedRanges[s], rng);
}

void MutateTriple(OutcomeTriple& t, int amount, Rng& rng)
{
    int c[4] = {0, t.Win, t.Loss, t.Standoff};
    const int i = static_cast<int>(rng.RandomInt(3)) + 1;
    const int j = (i + static_cast<int>(rng.RandomInt(2))) % 3 + 1;
    const int k = 6 - i - j;
    if (rng.RandomReal() >= 0.5) {
        const int a = std::min(c[i], amount);
        c[i] -= a;
        c[j] += a;
    } else {
        const int a = std::min(amount, 100 - c[i]);
        c[i] += a;
        if (c[j] >= a) {
            c[j] -= a;
        } else {
            c[k] -= a - c[j];
            c[j] = 0;
        }
    }
    t = OutcomeTriple{int8_t(c[1]), int8_t(c[2]), int8_t(c[3])};
}

void CopyGenotypesToPreviousLiteral(const GParamStruct& g, const std::vector<int32_t>& permutation,
                                    Genotypes& genotypes)
{
    const GenotypeGrid& from = genotypes.Current;
    GenotypeGrid& to = genotypes.Previous;
    RequireSharedPool(from, to);
    if (!g.MeanField) {
        for (int y = 1; y <= g.MaxY; ++y)
            for (int x = 1; x <= g.MaxX; ++x)
                to.Assign(x, y, from.Id(x, y));
        return;
    }
    for (int k = 0; k < g.MaxX * g.MaxY; ++k) {
        const int target = permutation[k];
        to.Assign(target % g.MaxX + 1, target / g.MaxX + 1, from.Id(k % g.MaxX + 1, k / g.MaxX + 1));
    }
}

void CopyGenotypesToPrevious(const GParamStruct& g, const std::vector<int32_t>& permutation, Genotypes& genotypes)
{
    const GenotypeGrid& from = genotypes.Current;
    GenotypeGrid& to = genotypes.Previous;
    RequireSharedPool(from, to);
    if (!g.MeanField) {
        for (int y = 1; y <= g.MaxY; ++y)
            std::copy_n(from.IdRow(y) + 1, g.MaxX, to.IdRow(y) + 1);
        return;
    }
    int k = 0;
    for (int y = 1; y <= g.MaxY; ++y) {
        const uint32_t* row = from.IdRow(y);
        for (int x = 1; x <= g.MaxX; ++x, ++k) {
            const int target = permutation[k];
            const int ty = target / g.MaxX;
            to.Assign(target - ty * g.MaxX + 1, ty + 1, row[x]);
        }
    }
}

void BuildGenotypeRing(const GParamStruct& g, const GenotypeGrid& source, GenotypeGrid& ring)
{
    RequireSharedPool(source, ring);
    const int mx = g.MaxX;
    const int my = g.MaxY;
    if (g.Border != 0) {
        for (int y = 0; y <= my + 1; ++y) {
            ring.Unset(0, y);
            ring.Unset(mx + 1, y);
        }
        std::fill_n(ring.IdRow(0) + 1, mx, GenotypePool::UnsetRecord);
        std::fill_n(ring.IdRow(my + 1) + 1, mx, GenotypePool::UnsetRecord);
        return;
    }
    for (int y = 1; y <= my; ++y) {
        ring.Assign(0, y, source.Id(mx, y));
        ring.Assign(mx + 1, y, source.Id(1, y));
    }
    std::copy_n(source.IdRow(my) + 1, mx, ring.IdRow(0) + 1);
    std::copy_n(source.IdRow(1) + 1, mx, ring.IdRow(my + 1) + 1);
    ring.Assign(0, 0, source.Id(mx, my));
    ring.Assign(0, my + 1, source.Id(mx, 1));
    ring.Assign(mx + 1, 0, source.Id(1, my));
    ring.Assign(mx + 1, my + 1, source.Id(1, 1));
}

void ClearEmptyGenotypes(const GParamStruct& g, const LandscapeGrid& landscape, GenotypeGrid& genotypes)
{
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x)
            if (landscape(x, y).Species == 0)
                genotypes.Unset(x, y);
}

float VariableOutcomeProbability(const ParameterSet& p, const Cell& n, const OutcomeTriple* gn, const Cell& o,
                                 const OutcomeTriple* go)
{
    const int ns = n.Species;
    const int os = o.Species;
    if (ns == 0 || ns == os)
        return 0.0f;
    if (os == 0)
        return n.GRate;
    const int w = IsVariablePair(p, ns, os) ? gn[os - 1].Win : p.OutcomeMatrix[ns][os].Win;
    const int l = IsVariablePair(p, os, ns) ? go[ns - 1].Loss : p.OutcomeMatrix[os][ns].Loss;
    const float rate = DependentGRates && p.GRateFractions[ns].Rate >= 0.0f ? p.RateAgainst[ns][os] : n.GRate;
    return float(p.GParamRec.OverGRate * 0.01 * (w + l) * 0.005 * rate);
}

void VariableOutcomeRuleLiteral(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& previousG,
                                LandscapeGrid& current, GenotypeGrid& currentG, Rng& rng)
{
    RequireSharedPool(previousG, currentG);
    for (int y = 1; y <= p.GParamRec.MaxY; ++y) {
        for (int x = 1; x <= p.GParamRec.MaxX; ++x) {
            int nx = x;
            int ny = y;
            switch (rng.RandomInt(4)) {
            case 0:
                nx = x - 1;
                break;
            case 1:
                ny = y + 1;
                break;
            case 2:
                nx = x + 1;
                break;
            case 3:
                ny = y - 1;
                break;
            default:
                QRL_FAIL("Assertion failure", "ModelTwo");
            }
            const Cell n = previous(nx, ny);
            const Cell o = previous(x, y);
            const float prob = VariableOutcomeProbability(p, n, previousG.Genotype(nx, ny), o, previousG.Genotype(x, y));
            if (rng.RandomReal() < prob) {
                current(x, y) = n;
                currentG.Assign(x, y, previousG.Id(nx, ny));
            } else {
                current(x, y) = o;
                currentG.Assign(x, y, previousG.Id(x, y));
            }
        }
    }
}

} // namespace quorrel
