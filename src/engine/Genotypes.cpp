#include "engine/Genotypes.h"

#include <memory>

namespace quorrel {

namespace {

// Every position of both grids can hold a record of its own, and the records that recruits
// take in a generation mostly come from records freed by an earlier collection.
std::size_t PoolRecords(int maxX, int maxY)
{
    return 2 * GenotypeGrid::PositionCount(maxX, maxY) + 2;
}

// A window holds one record per interior cell.
std::size_t WindowRecords(int maxX, int maxY)
{
    return static_cast<std::size_t>(maxX) * static_cast<std::size_t>(maxY);
}

} // namespace

std::size_t Genotypes::BytesFor(int maxX, int maxY, int maxspec, int windows)
{
    return GenotypePool::BytesFor(PoolRecords(maxX, maxY), maxspec, windows, WindowRecords(maxX, maxY)) +
           2 * GenotypeGrid::PositionCount(maxX, maxY) * sizeof(uint32_t);
}

bool Genotypes::Allocate(int maxX, int maxY, int maxspec, std::size_t byteBudget, int windows)
{
    Free();
    if (BytesFor(maxX, maxY, maxspec, windows) > byteBudget)
        return false;
    auto pool = std::make_shared<GenotypePool>();
    const bool ok = pool->Allocate(PoolRecords(maxX, maxY), maxspec, byteBudget, windows, WindowRecords(maxX, maxY)) &&
                    Current.Allocate(maxX, maxY, pool) && Previous.Allocate(maxX, maxY, pool);
    if (!ok)
        Free();
    return ok;
}

void Genotypes::Free()
{
    Current.Free();
    Previous.Free();
}

std::size_t Genotypes::Bytes() const
{
    if (!Current.Allocated() || !Previous.Allocated())
        return 0;
    return Current.Bytes() + Previous.Bytes() + Current.Pool().Bytes();
}

} // namespace quorrel
