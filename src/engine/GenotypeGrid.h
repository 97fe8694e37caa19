#pragma once

#include "engine/GenotypePool.h"
#include "params/ParameterSet.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <span>

namespace quorrel {

// A Win of -1 marks a genotype entry unset.
inline constexpr OutcomeTriple UnsetTriple{-1, 0, 0};

// An individual's outcome genotype: one triple per opponent species 1..Maxspec, as a view
// of a record that the viewer may write.
class OutcomeGenotype {
public:
    OutcomeGenotype(OutcomeTriple* triples, int maxspec) : triples_(triples), maxspec_(maxspec) {}

    // The entry against opponent species j, 1..Maxspec.
    OutcomeTriple& operator[](int j) const { return triples_[j - 1]; }
    OutcomeTriple* Triples() const { return triples_; }
    int Maxspec() const { return maxspec_; }

private:
    OutcomeTriple* triples_;
    int maxspec_;
};

// The genotypes of one landscape grid, border ring included: positions (x, y) with
// x = 0..MaxX+1 and y = 0..MaxY+1, row by row, each holding the number of a record of
// Maxspec triples (opponents 1..Maxspec) in a GenotypePool. Every position has a genotype
// value of its own: copying a genotype to a position (Assign) shares the record, which
// nobody changes while it is shared, and a position that is to change its genotype takes
// a record of its own first (Edit, Renew). Sized per run for the actual landscape and
// species count. Grids that exchange genotypes share one pool (see Genotypes).
class GenotypeGrid {
public:
    GenotypeGrid() = default;
    ~GenotypeGrid();
    GenotypeGrid(const GenotypeGrid&) = delete;
    GenotypeGrid& operator=(const GenotypeGrid&) = delete;

    // Storage for a MaxX x MaxY landscape with its ring, on a pool of its own; false when
    // it cannot be obtained (or would exceed the byte budget), leaving the grid without
    // storage. Every position then holds the unset genotype.
    bool Allocate(int maxX, int maxY, int maxspec, std::size_t byteBudget = std::numeric_limits<std::size_t>::max());
    // The same on a pool that other grids share.
    bool Allocate(int maxX, int maxY, const std::shared_ptr<GenotypePool>& pool,
                  std::size_t byteBudget = std::numeric_limits<std::size_t>::max());
    // The positions of a grid for a MaxX x MaxY landscape, ring included.
    static std::size_t PositionCount(int maxX, int maxY);
    void Free();
    bool Allocated() const { return ids_ != nullptr; }
    // The bytes of the positions (the records aside).
    std::size_t Bytes() const { return Allocated() ? PositionCount(maxX_, maxY_) * sizeof(uint32_t) : 0; }
    bool Fits(int maxX, int maxY, int maxspec) const
    {
        return Allocated() && maxX == maxX_ && maxY == maxY_ && maxspec == Maxspec();
    }

    int MaxX() const { return maxX_; }
    int MaxY() const { return maxY_; }
    int Maxspec() const { return pool_ ? pool_->Maxspec() : 0; }
    std::size_t Width() const { return static_cast<std::size_t>(maxX_) + 2; }
    const GenotypePool& Pool() const { return *pool_; }
    // The pool, to be told apart from a later one at the same address once it is gone.
    std::weak_ptr<const GenotypePool> PoolHandle() const { return pool_; }
    bool SharesPoolWith(const GenotypeGrid& other) const { return pool_ && pool_ == other.pool_; }

    // The record numbers of every position, row by row from (0, 0).
    std::span<const uint32_t> Positions() const { return {ids_.get(), PositionCount(maxX_, maxY_)}; }
    uint32_t Id(int x, int y) const { return ids_[Offset(x, y)]; }
    // The record numbers of row y from column 0.
    const uint32_t* IdRow(int y) const { return ids_.get() + Offset(0, y); }
    uint32_t* IdRow(int y) { return ids_.get() + Offset(0, y); }
    // Gives (x, y) the genotype of record id of this grid's pool (a copy of the genotype
    // of any position holding it).
    void Assign(int x, int y, uint32_t id) { ids_[Offset(x, y)] = id; }
    void Unset(int x, int y) { Assign(x, y, GenotypePool::UnsetRecord); }

    // The genotype at (x, y); entry j - 1 is the triple against opponent j.
    const OutcomeTriple* Genotype(int x, int y) const { return pool_->Record(Id(x, y)); }
    // The triple of (x, y) against opponent species j.
    const OutcomeTriple& Triple(int x, int y, int j) const { return Genotype(x, y)[j - 1]; }

    // The genotype of (x, y) for writing: (x, y) first takes a record of its own holding
    // the same triples (Edit) or every triple unset (Renew). The pointer stays valid while
    // (x, y) keeps that record.
    OutcomeTriple* Edit(int x, int y);
    OutcomeTriple* Renew(int x, int y);
    OutcomeGenotype At(int x, int y) { return OutcomeGenotype(Edit(x, y), Maxspec()); }

    // Every position, ring included, gets the unset genotype.
    void MarkAllUnset();

    // Exchanges the genotypes of every position with another grid of the same shape on the
    // same pool.
    void Exchange(GenotypeGrid& other);

    // The interior in the record layout of the genotype scratch files: for rows 1..MaxY
    // outer and columns 1..MaxX inner, each cell's Maxspec triples as Win, Loss, Standoff
    // signed bytes. SaveInterior writes RecordBytes() per cell to out; LoadInterior reads
    // them back. SaveRow and LoadRow do the same for the interior of one row. A loaded
    // record equal to the one the cell held, to its left or above shares that record.
    std::size_t RecordBytes() const { return static_cast<std::size_t>(Maxspec()) * 3; }
    std::size_t RowBytes() const { return RecordBytes() * static_cast<std::size_t>(maxX_); }
    std::size_t InteriorBytes() const { return RowBytes() * static_cast<std::size_t>(maxY_); }
    void SaveInterior(std::span<std::byte> out) const;
    void LoadInterior(std::span<const std::byte> in);
    void SaveRow(int y, std::byte* out) const;
    void LoadRow(int y, const std::byte* in);

    // Whether the pool has windows that hold this grid's whole interior.
    bool LoadsWhole() const;
    // The interior in the same layout, loaded whole: fill writes InteriorBytes() bytes (a
    // stored interior) straight into a window of the pool that no other position holds, and
    // every interior cell then holds its own record of that window, with no record compared
    // or copied. Requires LoadsWhole().
    void LoadInteriorWith(const std::function<void(std::span<std::byte>)>& fill);
    // Whether a position holds a record of window w of the pool, the interior left out
    // when withoutInterior.
    bool HoldsWindow(int w, bool withoutInterior) const;
    // Every position holding a record of window w (the interior left out when
    // withoutInterior) takes a record of its own with the same triples.
    void LeaveWindow(int w, bool withoutInterior);

private:
    std::size_t Offset(int x, int y) const { return static_cast<std::size_t>(y) * Width() + x; }
    void Release();

    std::unique_ptr<uint32_t[]> ids_;
    std::shared_ptr<GenotypePool> pool_;
    int maxX_ = 0;
    int maxY_ = 0;
};

} // namespace quorrel
