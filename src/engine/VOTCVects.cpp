#include "engine/VOTCVects.h"

#include "engine/ArrayFileError.h"
#include "engine/GridOperations.h"
#include "params/AssertionFailure.h"
#include "params/ParameterFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <new>
#include <numeric>
#include <system_error>

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
    tables_.clear();
    const int n = settings.Landscapes();
    maxspec_ = params.GParamRec.Maxspec;
    cols_ = settings.NumOfCol;
    tables_.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        if (static_cast<std::size_t>(k) < TableBudget)
            tables_[k].reset(new (std::nothrow) VariableOutcomeRange[static_cast<std::size_t>(maxspec_)]);
        if (!tables_[k]) {
            dialogs.Message(MessageKind::Error, "Out of memory.  Try fewer landscapes or species.", MessageButtons::Ok);
            const bool missing = std::find(tables_.begin(), tables_.end(), nullptr) != tables_.end();
            tables_.clear();
            if (!missing)
                QRL_FAIL("Memory cleanup error in SetVOTCVects", Module);
            return false;
        }
    }
    Fill(settings, params, rng);
    if (!settings.InitOTCFName.empty())
        WriteFile(settings, params);
    return true;
}

void VOTCVects::FreeVOTCVects()
{
    const bool bad = std::find(tables_.begin(), tables_.end(), nullptr) != tables_.end() || tables_.empty();
    tables_.clear();
    if (bad)
        QRL_FAIL("FreeVOTCVects()", Module);
}

const VariableOutcomeRange& VOTCVects::At(int r, int c, int s) const
{
    return tables_[static_cast<std::size_t>((r - 1) * cols_ + (c - 1))][s - 1];
}

void VOTCVects::LoadInto(int r, int c, VariableOutcomeTable& ranges) const
{
    for (int s = 1; s <= maxspec_; ++s)
        ranges[s] = At(r, c, s);
}

void VOTCVects::Fill(const ArraySettings& a, const ParameterSet& params, Rng& rng)
{
    const int n = a.Landscapes();
    auto table = [&](int k) { return tables_[static_cast<std::size_t>(k)].get(); };
    switch (a.TypeVOTC) {
    case UniformSpread:
        for (int k = 0; k < n; ++k)
            for (int s = 1; s <= maxspec_; ++s)
                table(k)[s - 1] = params.VariableOutcomeVector[s];
        return;
    case ClumpedSpread: {
        std::vector<int32_t> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        for (int s = 1; s <= maxspec_; ++s) {
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
        for (int s = 1; s <= maxspec_; ++s) {
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
    const std::string& name = a.InitOTCFName;
    WriteParameterFile(params, name);
    errno = 0;
    std::ofstream file(name, std::ios::binary | std::ios::app);
    std::string text = "\r\n==>\r\n\r\nType of Variable Outcome Ranges:  " + ArraySpreadName(a.TypeVOTC) +
                       "\r\n\r\nSpec    WinLow   WinHigh   LossLow  LossHigh\r\n"
                       "----  --------  --------  --------  --------\r\n";
    for (int r = 1; r <= a.NumOfRow; ++r)
        for (int c = 1; c <= a.NumOfCol; ++c) {
            char line[96];
            std::snprintf(line, sizeof line, "Landscape at Row=%2d  Col=%2d\r\n", r, c);
            text += line;
            for (int s = 1; s <= maxspec_; ++s) {
                const VariableOutcomeRange& v = At(r, c, s);
                std::snprintf(line, sizeof line, "%4d %10d%10d%10d%10d\r\n", s, int(v.WinLow), int(v.WinHigh),
                              int(v.LossLow), int(v.LossHigh));
                text += line;
            }
            text += "\r\n";
        }
    file << text;
    file.close();
    if (!file)
        throw ArrayFileError(name, errno != 0 ? std::generic_category().message(errno) : "Write error");
}

} // namespace quorrel
