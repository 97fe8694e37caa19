#pragma once

#include "params/ParameterSet.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace quorrel {

class GenotypeGrid;

// The genotype records of one or more genotype grids. A position of a grid holds the
// number of a record; a record is never changed while more than one position may hold it,
// so copying a genotype from one position to another is copying its number, and a
// position that is to change its genotype first takes a record of its own (see
// GenotypeGrid::Edit). Record 0 has every triple unset and never changes.
//
// Records that no position of the attached grids holds any more are found again (mark and
// sweep over the attached grids) before Take reaches further into the storage than twice the
// records held at the last collection (or that plus MinimumReach), and when no record is
// left; so the held records keep to the low numbers, which lie together in memory. Records
// never move, so a pointer to a held record stays valid while a position holds it. The
// storage is obtained once and sized so that every position can hold a record of its own.
//
// A pool may also have windows: ranges of records after the ones Take hands out, each of
// which receives a stored genotype grid's interior whole, one record per cell in the order
// of the store (GenotypeGrid::LoadInteriorWith). Take never hands out a window record, and a
// window is written again only when no position holds a record of it any more.
class GenotypePool {
public:
    static constexpr uint32_t UnsetRecord = 0;

    GenotypePool() = default;
    GenotypePool(const GenotypePool&) = delete;
    GenotypePool& operator=(const GenotypePool&) = delete;

    // The bytes taken by a pool of the given number of records and windows of
    // windowRecords records each.
    static std::size_t BytesFor(std::size_t records, int maxspec, int windows = 0, std::size_t windowRecords = 0);

    // Storage for records (record 0 included) of maxspec triples, and for windows of
    // windowRecords records each; false, and nothing held, when it cannot be obtained or
    // would exceed byteBudget.
    bool Allocate(std::size_t records, int maxspec, std::size_t byteBudget, int windows = 0,
                  std::size_t windowRecords = 0);
    bool Allocated() const { return records_ != nullptr; }
    std::size_t Bytes() const { return Allocated() ? BytesFor(capacity_, maxspec_, windows_, windowRecords_) : 0; }
    int Maxspec() const { return maxspec_; }
    // Every record number is below this: the records that Take hands out (record 0
    // included), then those of the windows.
    std::size_t Capacity() const { return capacity_ + static_cast<std::size_t>(windows_) * windowRecords_; }

    int Windows() const { return windows_; }
    std::size_t WindowRecords() const { return windowRecords_; }
    // The number of the first record of window w, 0..Windows()-1.
    uint32_t WindowBase(int w) const { return static_cast<uint32_t>(capacity_ + w * windowRecords_); }
    // The window that record id belongs to, or -1 for a record that Take hands out.
    int WindowOf(uint32_t id) const
    {
        if (id < capacity_)
            return -1;
        // Few windows: counted off instead of divided.
        std::size_t rest = id - capacity_;
        int w = 0;
        while (rest >= windowRecords_) {
            rest -= windowRecords_;
            ++w;
        }
        return w;
    }
    // A window that no position holds a record of, for the interior of grid loading (whose
    // interior positions are about to be given the window's records); when every window
    // is held, the positions holding records of the one after the window taken last take
    // records of their own with the same triples first. The caller then fills the window's records.
    int FreeWindowFor(const GenotypeGrid& loading);

    const OutcomeTriple* Record(uint32_t id) const { return records_.get() + static_cast<std::size_t>(id) * maxspec_; }
    // Writing is for the one position that holds the record (a record just taken).
    OutcomeTriple* Writable(uint32_t id) { return records_.get() + static_cast<std::size_t>(id) * maxspec_; }

    // The records Take may hand out after a collection before the next one, at least.
    static constexpr std::size_t MinimumReach = 65536;

    // A record that no position holds, its contents left as they are: a freed one, lowest
    // first, or else the lowest never taken; the records no attached position holds are
    // freed first when none is free and the reach of the last collection is used up (or
    // every record has been taken).
    uint32_t Take();

    // The grids whose positions hold records of this pool.
    void Attach(GenotypeGrid* grid);
    void Detach(const GenotypeGrid* grid);

    // Frees every record that no position of the attached grids holds. Returns how many
    // records are held.
    std::size_t Collect();
    // How many times Collect() has run.
    std::size_t Collections() const { return collections_; }
    // Changes whenever a record number that a position may have held can come to hold other
    // triples: at every allocation, collection and window handed out. Between two changes a
    // record that a position held keeps its triples, so whoever keeps something per record
    // may keep it that long.
    uint64_t Epoch() const { return epoch_; }
    // Whether a position held record id, below the records handed out then, at the last
    // collection: such a record was not freed by it.
    bool HeldAtLastCollection(uint32_t id) const { return held_[id] != 0; }

private:
    static constexpr std::size_t LargeAlignment = std::size_t(2) << 20;
    struct ReleaseStorage {
        void operator()(OutcomeTriple* storage) const
        {
            ::operator delete[](storage, std::align_val_t(LargeAlignment));
        }
    };

    std::unique_ptr<OutcomeTriple, ReleaseStorage> records_;
    // The free records below top_; the next one taken is at the end.
    std::unique_ptr<uint32_t[]> free_;
    std::size_t freeCount_ = 0;
    // Records top_.. have never been taken; Take collects before it takes record reach_.
    std::size_t top_ = 0;
    std::size_t reach_ = 0;
    std::unique_ptr<uint8_t[]> held_;
    std::size_t capacity_ = 0;
    std::size_t collections_ = 0;
    uint64_t epoch_ = 0;
    int maxspec_ = 0;
    int windows_ = 0;
    std::size_t windowRecords_ = 0;
    int lastWindow_ = 0;
    std::vector<GenotypeGrid*> grids_;
};

} // namespace quorrel
