#include "engine/GridOperations.h"

#include "params/AssertionFailure.h"
#include "params/ParameterFile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace quorrel {

void ClearLandscape(const GParamStruct& p, LandscapeGrid& grid)
{
    for (int y = 1; y <= p.MaxY; ++y)
        std::fill(grid.Row(y) + 1, grid.Row(y) + 1 + p.MaxX, EmptyCell);
}

void CopyLandscapeToPrevious(const GParamStruct& p, Landscapes& l, Rng& rng)
{
    if (!p.MeanField) {
        for (int y = 1; y <= p.MaxY; ++y)
            std::memcpy(l.PreviousLandscape.Row(y) + 1, l.CurrentLandscape.Row(y) + 1, sizeof(Cell) * p.MaxX);
        return;
    }
    std::vector<int32_t>& perm = l.MeanFieldPermutation;
    const int cells = p.MaxX * p.MaxY;
    if (static_cast<int>(perm.size()) != cells)
        QRL_FAIL("The mean-field permutation does not fit the landscape", "Landscape");
    ShuffleIndices(perm, static_cast<int>(perm.size()) - 1, rng);
    for (int k = 0; k < cells; ++k) {
        const int to = perm[k];
        l.PreviousLandscape(to % p.MaxX + 1, to / p.MaxX + 1) = l.CurrentLandscape(k % p.MaxX + 1, k / p.MaxX + 1);
    }
}

void ShuffleIndices(std::vector<int32_t>& a, int h, Rng& rng)
{
    for (int i = h; i >= 1; --i) {
        const uint32_t j = rng.RandomInt(static_cast<uint32_t>(i) + 1u);
        std::swap(a[j], a[i]);
    }
}

void SetLandscapeBorder(const GParamStruct& p, LandscapeGrid& g)
{
    const int mx = p.MaxX;
    const int my = p.MaxY;
    if (p.Border != 0) {
        for (int y = 0; y <= my + 1; ++y) {
            g(0, y) = EmptyCell;
            g(mx + 1, y) = EmptyCell;
        }
        for (int x = 1; x <= mx; ++x) {
            g(x, 0) = EmptyCell;
            g(x, my + 1) = EmptyCell;
        }
        return;
    }
    for (int y = 1; y <= my; ++y) {
        g(0, y) = g(mx, y);
        g(mx + 1, y) = g(1, y);
    }
    std::memcpy(g.Row(0) + 1, g.Row(my) + 1, sizeof(Cell) * mx);
    std::memcpy(g.Row(my + 1) + 1, g.Row(1) + 1, sizeof(Cell) * mx);
    g(0, 0) = g(mx, my);
    g(0, my + 1) = g(mx, 1);
    g(mx + 1, 0) = g(1, my);
    g(mx + 1, my + 1) = g(1, 1);
}

namespace {

// The scan order shared by FindEmptyCell and FindOccupiedCell.
template <class Match>
bool ScanFrom(const GParamStruct& p, const LandscapeGrid& grid, int& x, int& y, Match match)
{
    const Cell* row = grid.Row(y);
    for (int i = x; i <= p.MaxX; ++i)
        if (match(row[i])) {
            x = i;
            return true;
        }
    for (int i = x - 1; i >= 1; --i)
        if (match(row[i])) {
            x = i;
            return true;
        }
    auto scanRows = [&](int from, int to) {
        for (int j = from; j <= to; ++j) {
            const Cell* r = grid.Row(j);
            for (int i = 1; i <= p.MaxX; ++i)
                if (match(r[i])) {
                    x = i;
                    y = j;
                    return true;
                }
        }
        return false;
    };
    return scanRows(y + 1, p.MaxY) || scanRows(1, y - 1);
}

} // namespace

void FindEmptyCell(const ParameterSet& p, const LandscapeGrid& grid, int& x, int& y, Dialogs& dialogs)
{
    if (ScanFrom(p.GParamRec, grid, x, y, [](const Cell& c) { return c.Species == 0; }))
        return;
    const std::string path = (p.StartDir / "ERR-INIT.prm").string();
    try {
        WriteParameterFile(p, path);
    } catch (const ParameterFileError&) {
        // The message below still names the file; the run ends either way.
    }
    dialogs.Message(MessageKind::Error,
                    "There is a serious error in the program. Please print out the file " + path +
                        ", and send it to the author.",
                    MessageButtons::Ok);
    QRL_FAIL("FindEmptyCell: no empty cell is left in the landscape", "Landscape");
}

bool FindOccupiedCell(const GParamStruct& p, const LandscapeGrid& grid, int& x, int& y)
{
    return ScanFrom(p, grid, x, y, [](const Cell& c) { return c.Species != 0; });
}

float DrawGRate(const GRateRanges& fractions, Rng& rng, int s)
{
    const GRateFraction& f = fractions[s];
    if (f.Rate >= 0.0f)
        return f.Rate;
    return static_cast<float>(rng.RandomReal() * (double(f.High) - double(f.Low)) + double(f.Low));
}

} // namespace quorrel
