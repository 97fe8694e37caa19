#include "engine/VOTCVects.h"

#include "engine/GridOperations.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace quorrel {

namespace {

constexpr const char* Module = "LandscapeArray";

// The slice of a win range: WinLow..WinHigh, losses 0 .. 100 - WinLow.
VariableOutcomeRange Slice(int winLow, int winHigh)
{
    return VariableOutcomeRange{int8_t(winLow), int8_t(winHigh), 0, int8_t(100 - winLow)};
}

} // namespace

bool VOTCVects::SetVOTCVects(const ArraySettings& settings, const ParameterSet& params, Rng& rng, Dialogs& dialogs)
{
    if (!tables_.Allocate(settings.Landscapes(), settings.NumOfCol, params.GParamRec.Maxspec, TableBudget, dialogs,
                          "Memory cleanup error in SetVOTCVects"))
        return false;
    Fill(settings, params, rng);
    if (!settings.InitOTCFName.empty())
        WriteFile(settings, params);
    return true;
}

void VOTCVects::FreeVOTCVects()
{
    tables_.Free("FreeVOTCVects()");
}

const VariableOutcomeRange& VOTCVects::At(int r, int c, int s) const
{
    return tables_.At(r, c, s);
}

void VOTCVects::LoadInto(int r, int c, VariableOutcomeTable& ranges) const
{
    for (int s = 1; s <= tables_.Maxspec(); ++s)
        ranges[s] = At(r, c, s);
}

void VOTCVects::Fill(const ArraySettings& a, const ParameterSet& params, Rng& rng)
{
    const int n = a.Landscapes();
    const int maxspec = tables_.Maxspec();
    auto table = [&](int k) { return tables_.Table(k); };
    switch (a.TypeVOTC) {
    case UniformSpread:
        for (int k = 0; k < n; ++k)
            for (int s = 1; s <= maxspec; ++s)
                table(k)[s - 1] = params.VariableOutcomeVector[s];
        return;
    case ClumpedSpread: {
        std::vector<int32_t> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        for (int s = 1; s <= maxspec; ++s) {
            const VariableOutcomeRange v = params.VariableOutcomeVector[s];
            const int step = (v.WinHigh - v.WinLow) / n;
            ShuffleIndices(order, n - 1, rng);
            for (int i = 0; i < n; ++i) {
                const int low = v.WinLow + i * step;
                table(order[static_cast<std::size_t>(i)])[s - 1] = Slice(low, low + step);
            }
        }
        return;
    }
    case GradientSpread:
        for (int s = 1; s <= maxspec; ++s) {
            const VariableOutcomeRange v = params.VariableOutcomeVector[s];
            const int step = (v.WinHigh - v.WinLow) / a.NumOfRow;
            for (int r = 1; r <= a.NumOfRow; ++r) {
                const int high = v.WinLow + r * step;
                for (int c = 1; c <= a.NumOfCol; ++c)
                    table((r - 1) * a.NumOfCol + (c - 1))[s - 1] = Slice(high - step, high);
            }
        }
        return;
    default:
        QRL_FAIL("SetVOTCVects: bad type of outcome spread", Module);
    }
}

void VOTCVects::WriteFile(const ArraySettings& a, const ParameterSet& params) const
{
    const std::string heading = "\r\n==>\r\n\r\nType of Variable Outcome Ranges:  " + ArraySpreadName(a.TypeVOTC) +
                                "\r\n\r\nSpec    WinLow   WinHigh   LossLow  LossHigh\r\n"
                                "----  --------  --------  --------  --------\r\n";
    tables_.WriteFile(a.InitOTCFName, params, heading, a.NumOfRow, [](int s, const VariableOutcomeRange& v) {
        char line[96];
        std::snprintf(line, sizeof line, "%4d %10d%10d%10d%10d\r\n", s, int(v.WinLow), int(v.WinHigh),
                      int(v.LossLow), int(v.LossHigh));
        return std::string(line);
    });
}

} // namespace quorrel
