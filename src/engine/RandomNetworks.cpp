#include "engine/RandomNetworks.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorrel {

namespace {

constexpr OutcomeTriple PureStandoff{0, 0, 100};

template <class DrawPair>
void DrawNetwork(OutcomeTable& table, int n, int standoffPercent, Rng& rng, DrawPair drawPair)
{
    for (int j = 2; j <= n; ++j) {
        for (int i = 1; i < j; ++i) {
            const uint32_t r = rng.RandomInt(100);
            if (static_cast<int64_t>(r) < standoffPercent)
                table[i][j] = PureStandoff;
            else
                table[i][j] = drawPair();
        }
    }
    ParameterSet::MirrorOutcomes(table, n);
}

int8_t Percent(uint32_t value)
{
    return static_cast<int8_t>(value);
}

} // namespace

void UniformNetwork(OutcomeTable& table, int n, int standoffPercent, Rng& rng)
{
    DrawNetwork(table, n, standoffPercent, rng, [&rng] {
        const uint32_t a = rng.RandomInt(101);
        const uint32_t b = rng.RandomInt(101 - a);
        uint32_t items[3] = {a, b, 100 - a - b};
        std::swap(items[rng.RandomInt(3)], items[2]);
        std::swap(items[rng.RandomInt(2)], items[1]);
        return OutcomeTriple{Percent(items[0]), Percent(items[1]), Percent(items[2])};
    });
}

void NoReversalNetwork(OutcomeTable& table, int n, int standoffPercent, Rng& rng)
{
    DrawNetwork(table, n, standoffPercent, rng, [&rng] {
        return rng.RandomReal() >= 0.5 ? OutcomeTriple{0, 100, 0} : OutcomeTriple{100, 0, 0};
    });
}

void HierarchicalNetwork(OutcomeTable& table, int n, int standoffPercent, Rng& rng)
{
    DrawNetwork(table, n, standoffPercent, rng, [&rng] {
        uint32_t w = rng.RandomInt(101);
        uint32_t l = rng.RandomInt(101 - w);
        if (l > w)
            std::swap(w, l);
        return OutcomeTriple{Percent(w), Percent(l), Percent(100 - w - l)};
    });
}

void RandomiseOutcomes(ParameterSet& p, Rng& rng)
{
    const int n = p.GParamRec.Maxspec;
    switch (p.OutcomeRandomMode) {
    case UniformRandomising:
        UniformNetwork(p.OutcomeMatrix, n, p.StandoffPercent, rng);
        break;
    case NoReversalRandomising:
        NoReversalNetwork(p.OutcomeMatrix, n, p.StandoffPercent, rng);
        break;
    case HierarchicalRandomising:
        HierarchicalNetwork(p.OutcomeMatrix, n, p.StandoffPercent, rng);
        break;
    default:
        p.MirrorOutcomeMatrix();
        break;
    }
}

void RandomiseGrowthRates(ParameterSet& p, Rng& rng)
{
    for (int s = 1; s <= p.GParamRec.Maxspec; ++s) {
        const auto x = static_cast<int8_t>(std::trunc(rng.RandomReal() * 100));
        const auto y = static_cast<int8_t>(std::trunc(rng.RandomReal() * 100));
        if (x == y)
            p.GrowthRates[s] = GrowthRate{x, 0, 0};
        else
            p.GrowthRates[s] = GrowthRate{-1, std::min(x, y), std::max(x, y)};
    }
}

} // namespace quorrel
