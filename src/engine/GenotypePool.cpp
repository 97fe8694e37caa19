#include "engine/GenotypePool.h"

#include "engine/GenotypeGrid.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace quorrel {

namespace {

// The record storage, in whole large pages.
std::size_t StorageBytes(std::size_t records, int maxspec, std::size_t page)
{
    const std::size_t bytes = records * static_cast<std::size_t>(maxspec) * sizeof(OutcomeTriple);
    return (bytes + page - 1) / page * page;
}

} // namespace

std::size_t GenotypePool::BytesFor(std::size_t records, int maxspec, int windows, std::size_t windowRecords)
{
    return StorageBytes(records + static_cast<std::size_t>(windows) * windowRecords, maxspec, LargeAlignment) +
           records * (sizeof(uint32_t) + sizeof(uint8_t));
}

bool GenotypePool::Allocate(std::size_t records, int maxspec, std::size_t byteBudget, int windows,
                            std::size_t windowRecords)
{
    ++epoch_;
    records_.reset();
    free_.reset();
    held_.reset();
    capacity_ = freeCount_ = top_ = reach_ = 0;
    maxspec_ = 0;
    windows_ = 0;
    windowRecords_ = 0;
    if (windows < 0 || (windows > 0 && windowRecords < 1))
        return false;
    const std::size_t total = records + static_cast<std::size_t>(windows) * windowRecords;
    if (records < 1 || maxspec < 1 || total > std::numeric_limits<uint32_t>::max() ||
        BytesFor(records, maxspec, windows, windowRecords) > byteBudget)
        return false;
    // Raw storage: the pages of records not yet taken are not touched. Records are read
    // at random across the pool, so it asks for large pages where the system has them.
    const std::size_t bytes = StorageBytes(total, maxspec, LargeAlignment);
    std::unique_ptr<OutcomeTriple, ReleaseStorage> storage(
        static_cast<OutcomeTriple*>(::operator new[](bytes, std::align_val_t(LargeAlignment), std::nothrow)));
#ifdef __linux__
    if (storage)
        madvise(storage.get(), bytes, MADV_HUGEPAGE);
#endif
    std::unique_ptr<uint32_t[]> freeList(new (std::nothrow) uint32_t[records]);
    std::unique_ptr<uint8_t[]> held(new (std::nothrow) uint8_t[records]);
    if (!storage || !freeList || !held)
        return false;
    records_ = std::move(storage);
    free_ = std::move(freeList);
    held_ = std::move(held);
    capacity_ = records;
    maxspec_ = maxspec;
    windows_ = windows;
    windowRecords_ = windowRecords;
    lastWindow_ = windows - 1;
    std::fill_n(records_.get(), maxspec, UnsetTriple);
    top_ = 1;
    reach_ = std::min(capacity_, MinimumReach);
    return true;
}

uint32_t GenotypePool::Take()
{
    if (freeCount_ == 0) {
        if (top_ >= reach_)
            Collect();
        if (freeCount_ == 0) {
            if (top_ >= capacity_)
                QRL_FAIL("Every genotype record is held", "ModelTwo");
            return static_cast<uint32_t>(top_++);
        }
    }
    return free_[--freeCount_];
}

int GenotypePool::FreeWindowFor(const GenotypeGrid& loading)
{
    if (windows_ < 1)
        QRL_FAIL("The genotype records have no window", "ModelTwo");
    ++epoch_;
    const auto held = [&](int w) {
        return std::any_of(grids_.begin(), grids_.end(),
                           [&](const GenotypeGrid* grid) { return grid->HoldsWindow(w, grid == &loading); });
    };
    // The window after the one taken last is the one the loads before have left, mostly.
    for (int k = 1; k <= windows_; ++k) {
        const int w = (lastWindow_ + k) % windows_;
        if (!held(w))
            return lastWindow_ = w;
    }
    const int w = (lastWindow_ + 1) % windows_;
    for (GenotypeGrid* grid : grids_)
        grid->LeaveWindow(w, grid == &loading);
    return lastWindow_ = w;
}

void GenotypePool::Attach(GenotypeGrid* grid)
{
    if (std::find(grids_.begin(), grids_.end(), grid) == grids_.end())
        grids_.push_back(grid);
}

void GenotypePool::Detach(const GenotypeGrid* grid)
{
    grids_.erase(std::remove(grids_.begin(), grids_.end(), grid), grids_.end());
}

std::size_t GenotypePool::Collect()
{
    ++collections_;
    ++epoch_;
    // Only records below top_ have been handed out.
    std::fill_n(held_.get(), top_, uint8_t(0));
    held_[UnsetRecord] = 1;
    for (const GenotypeGrid* grid : grids_)
        for (uint32_t id : grid->Positions())
            if (id < top_)
                held_[id] = 1;
    freeCount_ = 0;
    for (std::size_t id = top_; id-- > 1;)
        if (held_[id] == 0)
            free_[freeCount_++] = static_cast<uint32_t>(id);
    const std::size_t held = top_ - freeCount_;
    reach_ = std::min(capacity_, std::max(top_, held + std::max(held, MinimumReach)));
    return held;
}

} // namespace quorrel
