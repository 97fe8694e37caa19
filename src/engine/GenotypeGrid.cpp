#include "engine/GenotypeGrid.h"

#include "params/AssertionFailure.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace quorrel {

static_assert(sizeof(OutcomeTriple) == 3, "a genotype record is Maxspec triples of three signed bytes");

GenotypeGrid::~GenotypeGrid()
{
    Release();
}

std::size_t GenotypeGrid::PositionCount(int maxX, int maxY)
{
    return (static_cast<std::size_t>(maxX) + 2) * (static_cast<std::size_t>(maxY) + 2);
}

bool GenotypeGrid::Allocate(int maxX, int maxY, int maxspec, std::size_t byteBudget)
{
    Free();
    const std::size_t positions = PositionCount(maxX, maxY);
    const std::size_t ownBytes = positions * sizeof(uint32_t);
    if (ownBytes > byteBudget)
        return false;
    auto pool = std::make_shared<GenotypePool>();
    // Every position can hold a record of its own, and one more is free.
    if (!pool->Allocate(positions + 2, maxspec, byteBudget - ownBytes))
        return false;
    return Allocate(maxX, maxY, pool, ownBytes);
}

bool GenotypeGrid::Allocate(int maxX, int maxY, const std::shared_ptr<GenotypePool>& pool, std::size_t byteBudget)
{
    Free();
    const std::size_t positions = PositionCount(maxX, maxY);
    if (!pool || !pool->Allocated() || positions * sizeof(uint32_t) > byteBudget)
        return false;
    ids_.reset(new (std::nothrow) uint32_t[positions]);
    if (!ids_)
        return false;
    pool_ = pool;
    maxX_ = maxX;
    maxY_ = maxY;
    MarkAllUnset();
    pool_->Attach(this);
    return true;
}

void GenotypeGrid::Release()
{
    if (pool_)
        pool_->Detach(this);
}

void GenotypeGrid::Free()
{
    Release();
    ids_.reset();
    pool_.reset();
    maxX_ = maxY_ = 0;
}


OutcomeTriple* GenotypeGrid::Edit(int x, int y)
{
    const uint32_t own = pool_->Take();
    OutcomeTriple* record = pool_->Writable(own);
    std::memcpy(record, Genotype(x, y), RecordBytes());
    Assign(x, y, own);
    return record;
}

OutcomeTriple* GenotypeGrid::Renew(int x, int y)
{
    const uint32_t own = pool_->Take();
    OutcomeTriple* record = pool_->Writable(own);
    std::fill_n(record, Maxspec(), UnsetTriple);
    Assign(x, y, own);
    return record;
}

void GenotypeGrid::MarkAllUnset()
{
    const std::span<const uint32_t> all = Positions();
    std::fill_n(ids_.get(), all.size(), GenotypePool::UnsetRecord);
}

void GenotypeGrid::Exchange(GenotypeGrid& other)
{
    if (!SharesPoolWith(other) || maxX_ != other.maxX_ || maxY_ != other.maxY_)
        QRL_FAIL("Genotype grids of different landscapes cannot exchange their genotypes", "ModelTwo");
    std::swap(ids_, other.ids_);
}

void GenotypeGrid::SaveRow(int y, std::byte* out) const
{
    const std::size_t record = RecordBytes();
    const uint32_t* ids = IdRow(y);
    for (int x = 1; x <= maxX_; ++x, out += record)
        std::memcpy(out, pool_->Record(ids[x]), record);
}

void GenotypeGrid::LoadRow(int y, const std::byte* in)
{
    const std::size_t record = RecordBytes();
    uint32_t* ids = IdRow(y);
    const uint32_t* above = y > 0 ? IdRow(y - 1) : nullptr;
    for (int x = 1; x <= maxX_; ++x, in += record) {
        // The first two triples decide most comparisons.
        const auto same = [&](uint32_t id) {
            const auto* held = reinterpret_cast<const std::byte*>(pool_->Record(id));
            return (record < 6 || std::memcmp(held, in, 6) == 0) && std::memcmp(held, in, record) == 0;
        };
        if (x > 1 && same(ids[x - 1])) {
            ids[x] = ids[x - 1];
        } else if (above != nullptr && same(above[x])) {
            ids[x] = above[x];
        } else if (same(ids[x])) {
            continue;
        } else if (same(GenotypePool::UnsetRecord)) {
            ids[x] = GenotypePool::UnsetRecord;
        } else {
            const uint32_t own = pool_->Take();
            std::memcpy(pool_->Writable(own), in, record);
            ids[x] = own;
        }
    }
}

void GenotypeGrid::SaveInterior(std::span<std::byte> out) const
{
    if (out.size() < InteriorBytes())
        QRL_FAIL("The genotype buffer is smaller than the landscape", "ModelTwo");
    for (int y = 1; y <= maxY_; ++y)
        SaveRow(y, out.data() + (y - 1) * RowBytes());
}

void GenotypeGrid::LoadInterior(std::span<const std::byte> in)
{
    if (in.size() < InteriorBytes())
        QRL_FAIL("The genotype buffer is smaller than the landscape", "ModelTwo");
    for (int y = 1; y <= maxY_; ++y)
        LoadRow(y, in.data() + (y - 1) * RowBytes());
}

} // namespace quorrel
