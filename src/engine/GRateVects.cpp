#include "engine/GRateVects.h"

#include "engine/GridOperations.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace quorrel {

namespace {

constexpr const char* Module = "LandscapeArray";

std::string Format(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

bool GRateVects::SetGRateVects(const ArraySettings& settings, const ParameterSet& params, Rng& rng, Dialogs& dialogs)
{
    if (!tables_.Allocate(settings.Landscapes(), settings.NumOfCol, params.GParamRec.Maxspec, TableBudget, dialogs,
                          "Memory cleanup error in SetGRateVects"))
        return false;
    Fill(settings, params, rng);
    if (!settings.InitGRFName.empty())
        WriteFile(settings, params);
    return true;
}

void GRateVects::FreeGRateVects()
{
    tables_.Free("FreeGRateVects: bad GRateVect");
}

const GRateFraction& GRateVects::At(int r, int c, int s) const
{
    return tables_.At(r, c, s);
}

void GRateVects::LoadInto(int r, int c, SpeciesTable<GRateFraction>& fractions) const
{
    for (int s = 1; s <= tables_.Maxspec(); ++s)
        fractions[s] = At(r, c, s);
}

void GRateVects::Fill(const ArraySettings& a, const ParameterSet& params, Rng& rng)
{
    const int n = a.Landscapes();
    const int maxspec = tables_.Maxspec();
    auto table = [&](int k) { return tables_.Table(k); };
    switch (a.TypeGRate) {
    case UniformSpread:
        for (int k = 0; k < n; ++k)
            for (int s = 1; s <= maxspec; ++s)
                table(k)[s - 1] = params.GRateFractions[s];
        return;
    case ClumpedSpread: {
        std::vector<int32_t> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        for (int s = 1; s <= maxspec; ++s) {
            const GRateFraction f = params.GRateFractions[s];
            if (f.Rate >= 0.0f) {
                for (int k = 0; k < n; ++k)
                    table(k)[s - 1] = f;
                continue;
            }
            const float d = static_cast<float>((double(f.High) - double(f.Low)) / n);
            ShuffleIndices(order, n - 1, rng);
            for (int i = 0; i < n; ++i) {
                const float low = static_cast<float>(double(f.Low) + i * double(d));
                const float high = static_cast<float>(double(low) + double(d));
                table(order[static_cast<std::size_t>(i)])[s - 1] = GRateFraction{-1.0f, low, high};
            }
        }
        return;
    }
    case GradientSpread:
        for (int s = 1; s <= maxspec; ++s) {
            const GRateFraction f = params.GRateFractions[s];
            const float d = static_cast<float>((double(f.High) - double(f.Low)) / a.NumOfRow);
            for (int r = 1; r <= a.NumOfRow; ++r) {
                GRateFraction slice = f;
                if (f.Rate < 0.0f) {
                    slice.Rate = -1.0f;
                    slice.Low = static_cast<float>(double(f.Low) + (r - 1) * double(d));
                    slice.High = static_cast<float>(std::min(double(f.Low) + r * double(d), double(f.High)));
                }
                for (int c = 1; c <= a.NumOfCol; ++c)
                    table((r - 1) * a.NumOfCol + (c - 1))[s - 1] = slice;
            }
        }
        return;
    default:
        QRL_FAIL("SetGRateVects: bad type of growth-rate spread", Module);
    }
}

void GRateVects::WriteFile(const ArraySettings& a, const ParameterSet& params) const
{
    const std::string heading = "\r\n==>\r\n\r\nType of Gowth Rates:  " + ArraySpreadName(a.TypeGRate) +
                                "\r\n\r\nSpec    Fixed     Low    High\r\n----   ------  ------  ------\r\n";
    tables_.WriteFile(a.InitGRFName, params, heading, a.NumOfRow, [](int s, const GRateFraction& f) {
        char number[16];
        std::snprintf(number, sizeof number, "%4d ", s);
        return number + Format("%8.3f", f.Rate) + Format("%8.3f", f.Low) + Format("%8.3f", f.High) + "\r\n";
    });
}

} // namespace quorrel
