#pragma once

#include "params/ParameterSet.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>

namespace quorrel {

// A Win of -1 marks a genotype entry unset.
inline constexpr OutcomeTriple UnsetTriple{-1, 0, 0};

// An individual's outcome genotype: one triple per opponent species 1..Maxspec. A view
// into a genotype grid; copying a genotype means copying its triples.
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
// x = 0..MaxX+1 and y = 0..MaxY+1, each owning Maxspec triples (opponents 1..Maxspec) in
// one flat array, row by row. Sized per run for the actual landscape and species count.
class GenotypeGrid {
public:
    // Storage for a MaxX x MaxY landscape with its ring; false when it cannot be obtained
    // (or would exceed the byte budget), leaving the grid without storage.
    bool Allocate(int maxX, int maxY, int maxspec, std::size_t byteBudget = std::numeric_limits<std::size_t>::max());
    void Free();
    bool Allocated() const { return triples_ != nullptr; }
    std::size_t Bytes() const { return Allocated() ? TripleCount() * sizeof(OutcomeTriple) : 0; }
    bool Fits(int maxX, int maxY, int maxspec) const
    {
        return Allocated() && maxX == maxX_ && maxY == maxY_ && maxspec == maxspec_;
    }

    int MaxX() const { return maxX_; }
    int MaxY() const { return maxY_; }
    int Maxspec() const { return maxspec_; }

    // The genotype at (x, y); entry j - 1 is the triple against opponent j.
    OutcomeTriple* Genotype(int x, int y) { return triples_.get() + Offset(x, y); }
    const OutcomeTriple* Genotype(int x, int y) const { return triples_.get() + Offset(x, y); }
    OutcomeGenotype At(int x, int y) { return OutcomeGenotype(Genotype(x, y), maxspec_); }
    // The triple of (x, y) against opponent species j.
    const OutcomeTriple& Triple(int x, int y, int j) const { return Genotype(x, y)[j - 1]; }

    // Every triple of every position, ring included, becomes unset.
    void MarkAllUnset();

    // The interior in the record layout of the genotype scratch files: for rows 1..MaxY
    // outer and columns 1..MaxX inner, each cell's Maxspec triples as Win, Loss, Standoff
    // signed bytes. SaveInterior writes RecordBytes() per cell to out; LoadInterior reads
    // them back.
    std::size_t RecordBytes() const { return static_cast<std::size_t>(maxspec_) * 3; }
    std::size_t InteriorBytes() const { return RecordBytes() * static_cast<std::size_t>(maxX_) * maxY_; }
    void SaveInterior(std::span<std::byte> out) const;
    void LoadInterior(std::span<const std::byte> in);

private:
    std::size_t Width() const { return static_cast<std::size_t>(maxX_) + 2; }
    std::size_t TripleCount() const { return Width() * (static_cast<std::size_t>(maxY_) + 2) * maxspec_; }
    std::size_t Offset(int x, int y) const { return (static_cast<std::size_t>(y) * Width() + x) * maxspec_; }

    std::unique_ptr<OutcomeTriple[]> triples_;
    int maxX_ = 0;
    int maxY_ = 0;
    int maxspec_ = 0;
};

} // namespace quorrel
