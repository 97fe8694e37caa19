#include "engine/InitialCover.h"

#include "engine/GridOperations.h"
#include "engine/LandscapeText.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace quorrel {

namespace {

// Closes the progress display on every way out, failures included.
class OpenProgress {
public:
    OpenProgress(InitProgress& progress, int total) : progress_(progress) { progress_.Open(total); }
    ~OpenProgress() { progress_.Close(); }
    OpenProgress(const OpenProgress&) = delete;
    OpenProgress& operator=(const OpenProgress&) = delete;

private:
    InitProgress& progress_;
};

bool RandomCover(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng, Dialogs& dialogs,
                 InitProgress& progress)
{
    const GParamStruct& g = p.GParamRec;
    ClearLandscape(g, grid);
    const double cells = double(g.MaxX) * double(g.MaxY);
    const OpenProgress open(progress, static_cast<int>(std::trunc(cells * double(g.TotalCover) / 100.0)));
    if (g.Maxspec < 1)
        return true;
    const int perSpecies = static_cast<int>(std::trunc(cells * double(g.TotalCover) / (double(g.Maxspec) * 100.0)));
    int placed = 0;
    for (int s = 1; s <= g.Maxspec; ++s) {
        for (int i = 0; i < perSpecies; ++i) {
            int x = 0;
            int y = 0;
            int tries = g.MaxX * g.MaxY;
            do {
                x = static_cast<int>(rng.RandomInt(g.MaxX)) + 1;
                y = static_cast<int>(rng.RandomInt(g.MaxY)) + 1;
                --tries;
            } while (grid(x, y).Species != 0 && tries >= 1);
            if (grid(x, y).Species != 0)
                FindEmptyCell(p, grid, x, y, dialogs);
            grid(x, y) = Cell{s, DrawGRate(fractions, rng, s)};
            ++placed;
            if (placed % 100 == 0)
                progress.Show(placed);
            if (progress.CancelRequested())
                return false;
        }
    }
    return true;
}

// The rate every individual of a block gets, or nothing when each draws its own.
std::optional<float> BlockGRate(const ParameterSet& p, const GRateRanges& fractions, Rng& rng, int s, int i, int bx)
{
    const GRateFraction& f = fractions[s];
    if (f.Rate >= 0.0f)
        return f.Rate;
    const double low = f.Low;
    const double high = f.High;
    switch (p.GParamRec.Init) {
    case 1:
        if (bx == 1)
            return float((low + high) * 0.5);
        return float(low + (high - low) * (i - 1) / (bx - 1));
    case 2:
        return float(rng.RandomReal() * (high - low) + low);
    default:
        return std::nullopt;
    }
}

bool BlockCover(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng)
{
    const GParamStruct& g = p.GParamRec;
    const int bx = std::max(static_cast<int>(std::nearbyint(g.MaxX / 20.0)), 1);
    const int by = std::max(static_cast<int>(std::nearbyint(g.MaxY / 20.0)), 1);
    const float wx = float(double(g.MaxX) / bx);
    const float wy = float(double(g.MaxY) / by);
    const int limX = static_cast<int>(std::trunc(g.MaxX - double(wx) / 2));
    const int limY = static_cast<int>(std::trunc(g.MaxY - double(wy) / 2));
    const double f = float(0.01 * double(g.TotalCover));

    long long visited = 0;
    long long placed = 0;
    int yEnd = 0;
    for (int j = 1; j <= by; ++j) {
        const int yStart = yEnd + 1;
        yEnd = static_cast<int>(std::nearbyint(j * double(wy)));
        if (yEnd > limY)
            yEnd = g.MaxY;
        int xEnd = 0;
        for (int i = 1; i <= bx; ++i) {
            const int xStart = xEnd + 1;
            xEnd = static_cast<int>(std::nearbyint(i * double(wx)));
            if (xEnd > limX)
                xEnd = g.MaxX;
            const int s = static_cast<int>(rng.RandomInt(g.Maxspec)) + 1;
            const std::optional<float> blockRate = BlockGRate(p, fractions, rng, s, i, bx);
            for (int y = yStart; y <= yEnd; ++y) {
                for (int x = xStart; x <= xEnd; ++x) {
                    ++visited;
                    // The target fraction corrected by half the running deficit.
                    const double prob = std::trunc((visited * f - placed) * 0.5) + f;
                    if (prob > rng.RandomReal()) {
                        ++placed;
                        grid(x, y) = Cell{s, blockRate ? *blockRate : DrawGRate(fractions, rng, s)};
                    } else {
                        grid(x, y) = EmptyCell;
                    }
                }
            }
        }
        if (xEnd != g.MaxX)
            QRL_FAIL("Patch x-misaligned", "Landscape");
    }
    if (yEnd != g.MaxY)
        QRL_FAIL("Patch y-misaligned", "Landscape");
    if (!(std::abs(placed - double(g.MaxX) * f * g.MaxY) < 5) || visited != (long long)g.MaxX * g.MaxY)
        QRL_FAIL("SetInitCover: coverage is out of tolerance", "Landscape");
    return true;
}

} // namespace

bool SetInitCover(const ParameterSet& p, const GRateRanges& fractions, LandscapeGrid& grid, Rng& rng, Dialogs& dialogs,
                  InitProgress& progress)
{
    switch (p.GParamRec.Cover) {
    case 2:
        return ReadTXTLandscape(p.GParamRec.CoverFile, p, fractions, grid, rng, dialogs);
    case 1:
        return BlockCover(p, fractions, grid, rng);
    case 0:
        return RandomCover(p, fractions, grid, rng, dialogs, progress);
    default:
        QRL_FAIL("Invalid GParamRec.Cover", "Landscape");
    }
}

} // namespace quorrel
