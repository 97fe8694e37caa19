#include "engine/GenotypeGrid.h"

#include "params/AssertionFailure.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace quorrel {

static_assert(sizeof(OutcomeTriple) == 3, "a genotype record is Maxspec triples of three signed bytes");

bool GenotypeGrid::Allocate(int maxX, int maxY, int maxspec, std::size_t byteBudget)
{
    Free();
    const std::size_t count = (static_cast<std::size_t>(maxX) + 2) * (static_cast<std::size_t>(maxY) + 2) * maxspec;
    if (count * sizeof(OutcomeTriple) > byteBudget)
        return false;
    triples_.reset(new (std::nothrow) OutcomeTriple[count]);
    if (!triples_)
        return false;
    maxX_ = maxX;
    maxY_ = maxY;
    maxspec_ = maxspec;
    return true;
}

void GenotypeGrid::Free()
{
    triples_.reset();
    maxX_ = maxY_ = maxspec_ = 0;
}

void GenotypeGrid::MarkAllUnset()
{
    std::fill_n(triples_.get(), TripleCount(), UnsetTriple);
}

void GenotypeGrid::SaveInterior(std::span<std::byte> out) const
{
    if (out.size() < InteriorBytes())
        QRL_FAIL("The genotype buffer is smaller than the landscape", "ModelTwo");
    const std::size_t rowBytes = RecordBytes() * maxX_;
    for (int y = 1; y <= maxY_; ++y)
        std::memcpy(out.data() + (y - 1) * rowBytes, Genotype(1, y), rowBytes);
}

void GenotypeGrid::LoadInterior(std::span<const std::byte> in)
{
    if (in.size() < InteriorBytes())
        QRL_FAIL("The genotype buffer is smaller than the landscape", "ModelTwo");
    const std::size_t rowBytes = RecordBytes() * maxX_;
    for (int y = 1; y <= maxY_; ++y)
        std::memcpy(Genotype(1, y), in.data() + (y - 1) * rowBytes, rowBytes);
}

} // namespace quorrel
