#include "runs/MonteCarloRecord.h"

namespace quorrel {

void MonteCarloRecord::Clear(int runs)
{
    const auto size = static_cast<std::size_t>(runs) + 1;
    ExtinctionOrder.assign(size, {});
    ExtinctionTime.assign(size, {});
    SpeciesLeft.assign(size, 0);
    EndCounts.assign(size, {});
    for (int r = 1; r <= runs; ++r)
        ResetRun(r);
}

void MonteCarloRecord::ResetRun(int r)
{
    ExtinctionOrder[r].fill(0);
    ExtinctionTime[r].fill(-1);
}

bool MonteCarloRecord::UpdateExtinctionOrder(int r, const LandscapeGrid& landscape, const GParamStruct& g)
{
    std::array<int32_t, Slots + 1> counts{};
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x) {
            const int s = landscape(x, y).Species;
            if (s >= 1 && s <= Slots)
                ++counts[s];
        }
    int slot = FilledSlots(r) + 1;
    bool added = false;
    for (int k = 1; k <= g.Maxspec && slot <= Slots; ++k) {
        if (counts[k] == 0 && !Vanished(r, k)) {
            ExtinctionOrder[r][slot++] = static_cast<int8_t>(k);
            added = true;
        }
    }
    return added;
}

void MonteCarloRecord::StampExtinctionTimes(int r, int g)
{
    for (int slot = 1; slot <= Slots && ExtinctionOrder[r][slot] != 0; ++slot)
        if (ExtinctionTime[r][slot] == -1)
            ExtinctionTime[r][slot] = g;
}

void MonteCarloRecord::SetSpeciesLeft(int r, int maxspec)
{
    int filled = 0;
    for (int slot = 1; slot <= maxspec; ++slot)
        if (ExtinctionOrder[r][slot] != 0)
            ++filled;
    SpeciesLeft[r] = static_cast<int8_t>(maxspec - filled);
}

void MonteCarloRecord::AddEndCounts(int r, const LandscapeGrid& landscape, const GParamStruct& g)
{
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x) {
            const int s = landscape(x, y).Species;
            if (s >= 0 && s <= Slots)
                ++EndCounts[r][s];
        }
}

bool MonteCarloRecord::Vanished(int r, int s) const
{
    for (int slot = 1; slot <= Slots && ExtinctionOrder[r][slot] != 0; ++slot)
        if (ExtinctionOrder[r][slot] == s)
            return true;
    return false;
}

int MonteCarloRecord::FilledSlots(int r) const
{
    int slot = 0;
    while (slot < Slots && ExtinctionOrder[r][slot + 1] != 0)
        ++slot;
    return slot;
}

} // namespace quorrel
