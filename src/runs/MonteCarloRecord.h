#pragma once

#include "engine/LandscapeGrid.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quorrel {

// The extinction bookkeeping of a Monte Carlo series. Runs are numbered 1..Runs(), slots
// and species 1..40; index 0 of each table is unused (species 0 of EndCounts is the empty cell).
class MonteCarloRecord {
public:
    static constexpr int Slots = 40;

    // Per run: the species in the order they vanished (0: empty slot), the generation each
    // vanished in (-1: not yet), the species left at the end, the interior cells each
    // species held at the end.
    std::vector<std::array<int8_t, Slots + 1>> ExtinctionOrder;
    std::vector<std::array<int32_t, Slots + 1>> ExtinctionTime;
    std::vector<int8_t> SpeciesLeft;
    std::vector<std::array<int32_t, Slots + 1>> EndCounts;

    int Runs() const { return static_cast<int>(SpeciesLeft.size()) - 1; }

    // Tables for runs 1..runs, everything cleared (slots empty, times -1).
    void Clear(int runs);
    // All slots of run r empty, all times -1.
    void ResetRun(int r);

    // Every species 1..Maxspec without a cell in the interior that is not in run r's order yet
    // is appended to it, in increasing species number. True when any was added.
    bool UpdateExtinctionOrder(int r, const LandscapeGrid& landscape, const GParamStruct& g);
    // Every filled slot of run r that has no time yet receives g.
    void StampExtinctionTimes(int r, int g);
    // SpeciesLeft[r] := Maxspec minus the filled slots among 1..Maxspec.
    void SetSpeciesLeft(int r, int maxspec);
    // EndCounts[r][species] += 1 for every interior cell.
    void AddEndCounts(int r, const LandscapeGrid& landscape, const GParamStruct& g);

    // Whether species s is in run r's order.
    bool Vanished(int r, int s) const;
    // The number of filled slots of run r.
    int FilledSlots(int r) const;
};

} // namespace quorrel
