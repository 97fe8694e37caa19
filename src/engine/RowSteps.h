#pragma once

#include "engine/Cell.h"
#include "engine/EmptyCells.h"
#include "engine/OccupancyBits.h"
#include "engine/SingleCellMortality.h"

#include <cstdint>

namespace quorrel {

// What a contention step applies to each row right after writing it, while the row is at
// hand: single-cell mortality, with the draws the mortality pass after the step would
// take, and then the listing of the empty cells it leaves, for recruitment (only with
// mortality); then the occupancy bits of the row, for the passes after the step. Empty:
// nothing.
class RowSteps {
public:
    RowSteps() = default;
    RowSteps(const SingleCellMortality* mortality, EmptyCells* empties, OccupancyBits* occupancy = nullptr)
        : mortality_(mortality), empties_(empties), occupancy_(occupancy)
    {
    }

    const SingleCellMortality* Mortality() const { return mortality_; }
    const EmptyCells* Empties() const { return empties_; }
    OccupancyBits* Occupancy() const { return occupancy_; }

    // Before the step's first row: the step takes rows draws per row from seed, a row's
    // draws moving the state s to rowMul * s + rowAdd.
    void Begin(uint32_t seed, uint32_t rowMul, uint32_t rowAdd, int rows)
    {
        if (mortality_ == nullptr)
            return;
        for (int y = 1; y <= rows; ++y)
            seed = rowMul * seed + rowAdd;
        seed_ = seed;
        if (empties_ != nullptr)
            empties_->Clear();
    }

    // Row y of the current landscape, just written.
    void Row(Cell* row, int maxX, int y)
    {
        if (mortality_ != nullptr) {
            seed_ = mortality_->Row(row, maxX, seed_);
            if (empties_ != nullptr)
                empties_->AppendRow(row, maxX, y);
        }
        if (occupancy_ != nullptr)
            occupancy_->BuildRow(row, maxX, y);
    }

    // The generator's state after the step (given) and the row steps.
    uint32_t End(uint32_t afterStep) const { return mortality_ != nullptr ? seed_ : afterStep; }

private:
    const SingleCellMortality* mortality_ = nullptr;
    EmptyCells* empties_ = nullptr;
    OccupancyBits* occupancy_ = nullptr;
    uint32_t seed_ = 0;
};

} // namespace quorrel
