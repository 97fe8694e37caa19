#include "engine/GRateVects.h"

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

std::string Format(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

bool GRateVects::SetGRateVects(const ArraySettings& settings, const ParameterSet& params, Rng& rng, Dialogs& dialogs)
{
    tables_.clear();
    const int n = settings.Landscapes();
    maxspec_ = params.GParamRec.Maxspec;
    cols_ = settings.NumOfCol;
    tables_.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        if (static_cast<std::size_t>(k) < TableBudget)
            tables_[k].reset(new (std::nothrow) GRateFraction[static_cast<std::size_t>(maxspec_)]);
        if (!tables_[k]) {
            dialogs.Message(MessageKind::Error, "Out of memory.  Try fewer landscapes or species.", MessageButtons::Ok);
            Release("Memory cleanup error in SetGRateVects");
            return false;
        }
    }
    Fill(settings, params, rng);
    if (!settings.InitGRFName.empty())
        WriteFile(settings, params);
    return true;
}

// Releases the tables before the first missing one; finding none missing after a failed
// allocation means the tables are not what they should be.
void GRateVects::Release(const char* cleanupError)
{
    const auto missing = std::find(tables_.begin(), tables_.end(), nullptr);
    const bool found = missing != tables_.end();
    tables_.clear();
    if (!found)
        QRL_FAIL(cleanupError, Module);
}

void GRateVects::FreeGRateVects()
{
    const bool bad = std::find(tables_.begin(), tables_.end(), nullptr) != tables_.end() || tables_.empty();
    tables_.clear();
    if (bad)
        QRL_FAIL("FreeGRateVects: bad GRateVect", Module);
}

const GRateFraction& GRateVects::At(int r, int c, int s) const
{
    return tables_[static_cast<std::size_t>((r - 1) * cols_ + (c - 1))][s - 1];
}

void GRateVects::LoadInto(int r, int c, SpeciesTable<GRateFraction>& fractions) const
{
    for (int s = 1; s <= maxspec_; ++s)
        fractions[s] = At(r, c, s);
}

void GRateVects::Fill(const ArraySettings& a, const ParameterSet& params, Rng& rng)
{
    const int n = a.Landscapes();
    auto table = [&](int k) { return tables_[static_cast<std::size_t>(k)].get(); };
    switch (a.TypeGRate) {
    case UniformSpread:
        for (int k = 0; k < n; ++k)
            for (int s = 1; s <= maxspec_; ++s)
                table(k)[s - 1] = params.GRateFractions[s];
        return;
    case ClumpedSpread: {
        std::vector<int32_t> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        for (int s = 1; s <= maxspec_; ++s) {
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
        for (int s = 1; s <= maxspec_; ++s) {
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
    const std::string& name = a.InitGRFName;
    WriteParameterFile(params, name);
    errno = 0;
    std::ofstream file(name, std::ios::binary | std::ios::app);
    std::string text = "\r\n==>\r\n\r\nType of Gowth Rates:  " + ArraySpreadName(a.TypeGRate) +
                       "\r\n\r\nSpec    Fixed     Low    High\r\n----   ------  ------  ------\r\n";
    for (int r = 1; r <= a.NumOfRow; ++r)
        for (int c = 1; c <= a.NumOfCol; ++c) {
            char heading[64];
            std::snprintf(heading, sizeof heading, "Landscape at Row=%2d  Col=%2d\r\n", r, c);
            text += heading;
            for (int s = 1; s <= maxspec_; ++s) {
                const GRateFraction& f = At(r, c, s);
                char number[16];
                std::snprintf(number, sizeof number, "%4d ", s);
                text += number + Format("%8.3f", f.Rate) + Format("%8.3f", f.Low) + Format("%8.3f", f.High) + "\r\n";
            }
            text += "\r\n";
        }
    file << text;
    file.close();
    if (!file)
        throw ArrayFileError(name, errno != 0 ? std::generic_category().message(errno) : "Write error");
}

} // namespace quorrel
