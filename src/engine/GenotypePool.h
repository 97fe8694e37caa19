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
// Records that no position of the attached grids holds any more are found again when no
// free record is left (mark and sweep over the attached grids); records never move, so a
// pointer to a held record stays valid while a position holds it. The storage is obtained
// once and sized so that every position can hold a record of its own.
class GenotypePool {
public:
    static constexpr uint32_t UnsetRecord = 0;

    GenotypePool() = default;
    GenotypePool(const GenotypePool&) = delete;
    GenotypePool& operator=(const GenotypePool&) = delete;

    // The bytes taken by a pool of the given number of records.
    static std::size_t BytesFor(std::size_t records, int maxspec);

    // Storage for records (record 0 included) of maxspec triples; false, and nothing
    // held, when it cannot be obtained or would exceed byteBudget.
    bool Allocate(std::size_t records, int maxspec, std::size_t byteBudget);
    bool Allocated() const { return records_ != nullptr; }
    std::size_t Bytes() const { return Allocated() ? BytesFor(capacity_, maxspec_) : 0; }
    int Maxspec() const { return maxspec_; }
    std::size_t Capacity() const { return capacity_; }

    const OutcomeTriple* Record(uint32_t id) const { return records_.get() + static_cast<std::size_t>(id) * maxspec_; }
    // Writing is for the one position that holds the record (a record just taken).
    OutcomeTriple* Writable(uint32_t id) { return records_.get() + static_cast<std::size_t>(id) * maxspec_; }

    // A record that no position holds, its contents left as they are; when none is free,
    // the records no attached position holds are freed first.
    uint32_t Take();

    // The grids whose positions hold records of this pool.
    void Attach(const GenotypeGrid* grid);
    void Detach(const GenotypeGrid* grid);

    // Frees every record that no position of the attached grids holds. Returns how many
    // records are held.
    std::size_t Collect();
    // How many times Collect() has run.
    std::size_t Collections() const { return collections_; }

private:
    static constexpr std::size_t LargeAlignment = std::size_t(2) << 20;
    struct ReleaseStorage {
        void operator()(OutcomeTriple* storage) const
        {
            ::operator delete[](storage, std::align_val_t(LargeAlignment));
        }
    };

    std::unique_ptr<OutcomeTriple, ReleaseStorage> records_;
    // The free records; the next one taken is at the end.
    std::unique_ptr<uint32_t[]> free_;
    std::size_t freeCount_ = 0;
    std::unique_ptr<uint8_t[]> held_;
    std::size_t capacity_ = 0;
    std::size_t collections_ = 0;
    int maxspec_ = 0;
    std::vector<const GenotypeGrid*> grids_;
};

} // namespace quorrel
