#include "engine/ContentionStep.h"

#include "engine/JumpAhead.h"
#include "params/AssertionFailure.h"

namespace quorrel {

namespace {

// Overgrowth uses the invader's rate against the occupant when that rate is fixed.
bool UsesRateAgainst(const ParameterSet& p, int invader)
{
    return DependentGRates && p.GRateFractions[invader].Rate >= 0.0f;
}

double OvergrowthFactor(const ParameterSet& p, int n, int o)
{
    return (p.GParamRec.OverGRate * 0.01) * (p.OutcomeMatrix[n][o].Win * 0.01);
}

} // namespace

float ContentionProbability(const ParameterSet& p, const Cell& n, const Cell& o)
{
    if (n.Species == 0 || n.Species == o.Species)
        return 0.0f;
    if (o.Species == 0)
        return n.GRate;
    const float r = UsesRateAgainst(p, n.Species) ? p.RateAgainst[n.Species][o.Species] : n.GRate;
    return float(OvergrowthFactor(p, n.Species, o.Species) * double(r));
}

void FixedOutcomeRuleLiteral(const ParameterSet& p, const LandscapeGrid& previous, LandscapeGrid& current, Rng& rng)
{
    for (int y = 1; y <= p.GParamRec.MaxY; ++y) {
        for (int x = 1; x <= p.GParamRec.MaxX; ++x) {
            Cell n;
            switch (rng.RandomInt(4)) {
            case 0:
                n = previous(x - 1, y);
                break;
            case 1:
                n = previous(x, y + 1);
                break;
            case 2:
                n = previous(x + 1, y);
                break;
            case 3:
                n = previous(x, y - 1);
                break;
            default:
                QRL_FAIL("Assertion failure", "Landscape");
            }
            const Cell o = previous(x, y);
            const float prob = ContentionProbability(p, n, o);
            if (rng.RandomReal() < prob)
                current(x, y) = n;
            else
                current(x, y) = o;
        }
    }
}

ContentionStep::ContentionStep()
{
    uint32_t mul = 1u;
    uint32_t add = 0u;
    for (int i = 0; i < MaxRow; ++i) {
        mul *= Rng::Multiplier;
        add = add * Rng::Multiplier + Rng::Increment;
        neighbourMul_[i] = mul;
        neighbourAdd_[i] = add;
        mul *= Rng::Multiplier;
        add = add * Rng::Multiplier + Rng::Increment;
        drawMul_[i] = mul;
        drawAdd_[i] = add;
    }
    UseWideKernel(true);
}

void ContentionStep::Prepare(const ParameterSet& p)
{
    const int maxspec = p.GParamRec.Maxspec;
    stride_ = maxspec + 1;
    for (int n = 0; n <= maxspec; ++n) {
        for (int o = 0; o <= maxspec; ++o) {
            double factor = 0.0;
            bool ownRate = false;
            if (n == 0 || n == o) {
                factor = 0.0;
            } else if (o == 0) {
                factor = 1.0;
                ownRate = true;
            } else if (UsesRateAgainst(p, n)) {
                factor = OvergrowthFactor(p, n, o) * double(p.RateAgainst[n][o]);
            } else {
                factor = OvergrowthFactor(p, n, o);
                ownRate = true;
            }
            factor_[n * stride_ + o] = factor;
            rateMask_[n * stride_ + o] = ownRate ? ~0u : 0u;
            signedFactor_[n * stride_ + o] = ownRate && factor != 0.0 ? -factor : factor;
        }
    }
}

void ContentionStep::Run(const GParamStruct& g, const LandscapeGrid& previous, LandscapeGrid& current, Rng& rng,
                         RowSteps steps)
{
    const int maxX = g.MaxX;
    if (maxX > MaxRow || g.MaxY > MaxLandscapeSide)
        QRL_FAIL("The landscape is larger than its grid", "Landscape");
    if (maxX < 1)
        return;
    const ContentionTable table{factor_.data(), rateMask_.data(), stride_, signedFactor_.data()};
    uint32_t seed = rng.RandSeed;
    steps.Begin(seed, drawMul_[maxX - 1], drawAdd_[maxX - 1], g.MaxY);
    if (kernel512_) {
        // Without mortality between, the row's occupancy is written with its cells.
        OccupancyBits* bits = steps.Mortality() == nullptr ? steps.Occupancy() : nullptr;
        bool skipUniform = true;
        for (int y = 1; y <= g.MaxY; ++y) {
            Cell* row = current.Row(y);
            const RowStates states{neighbourMul_.data(), neighbourAdd_.data(), drawMul_.data(), drawAdd_.data(), seed};
            const OccupancyOut out = bits != nullptr ? OccupancyOut{bits->RowBytes(y), bits->SpeciesRowToWrite(y)}
                                                     : OccupancyOut{};
            const int uniform = ContentionRow512(previous.Row(y), row, maxX, states, table, out, skipUniform);
            // As below: the next row skips the uniform groups when most of this row's were.
            skipUniform = uniform * 16 >= (maxX / 8) * 15;
            seed = drawMul_[maxX - 1] * seed + drawAdd_[maxX - 1];
            if (bits != nullptr)
                bits->FinishRow(row, maxX / 8 * 8 + 1, maxX, y);
            else
                steps.Row(row, maxX, y);
        }
        rng.RandSeed = steps.End(seed);
        return;
    }
    bool skipUniform = true;
    for (int y = 1; y <= g.MaxY; ++y) {
        JumpAhead(neighbourMul_.data(), neighbourAdd_.data(), seed, neighbourStates_.data(), maxX);
        JumpAhead(drawMul_.data(), drawAdd_.data(), seed, drawStates_.data(), maxX);
        seed = drawStates_[maxX - 1];
        if (wide_) {
            const int uniform = ContentionRowWide(previous.Row(y), current.Row(y), maxX, neighbourStates_.data(),
                                                  drawStates_.data(), table, skipUniform);
            // Rows next to each other look alike: the next row skips the uniform groups
            // when most of this row's were.
            skipUniform = uniform * 8 >= (maxX / 4) * 7;
        } else {
            ContentionRowPortable(previous.Row(y), current.Row(y), maxX, neighbourStates_.data(),
                                  drawStates_.data(), table);
        }
        steps.Row(current.Row(y), maxX, y);
    }
    rng.RandSeed = steps.End(seed);
}

} // namespace quorrel
