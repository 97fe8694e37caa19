#include "engine/GenotypeGrid.h"

#include "params/AssertionFailure.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace quorrel {

static_assert(sizeof(OutcomeTriple) == 3, "a genotype record is Maxspec triples of three signed bytes");

namespace {

// f(id) for the record number of every position of a grid of the given width and MaxY,
// row by row, the interior left out when withoutInterior.
template <typename Id, typename F>
void EachPosition(Id* ids, std::size_t width, int maxY, bool withoutInterior, F f)
{
    for (int y = 0; y <= maxY + 1; ++y, ids += width) {
        if (withoutInterior && y >= 1 && y <= maxY) {
            f(ids[0]);
            f(ids[width - 1]);
            continue;
        }
        for (std::size_t x = 0; x < width; ++x)
            f(ids[x]);
    }
}

// memcpy for the few bytes of one or two records, without a call: two overlapping copies
// of a fixed size cover every length from that size to twice it.
inline void CopyBytes(std::byte* out, const std::byte* in, std::size_t n)
{
    if (n > 32) {
        std::memcpy(out, in, n);
    } else if (n >= 16) {
        std::memcpy(out, in, 16);
        std::memcpy(out + n - 16, in + n - 16, 16);
    } else if (n >= 8) {
        std::memcpy(out, in, 8);
        std::memcpy(out + n - 8, in + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(out, in, 4);
        std::memcpy(out + n - 4, in + n - 4, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = in[i];
    }
}

} // namespace

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
    // Record by record, the same work for every cell: the records of neighbouring cells
    // mostly lie apart in the pool, and their reads overlap best without a test between them.
    for (int x = 1; x <= maxX_; ++x, out += record)
        CopyBytes(out, reinterpret_cast<const std::byte*>(pool_->Record(ids[x])), record);
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

bool GenotypeGrid::LoadsWhole() const
{
    return Allocated() && pool_->Windows() > 0 &&
           pool_->WindowRecords() >= static_cast<std::size_t>(maxX_) * static_cast<std::size_t>(maxY_);
}

void GenotypeGrid::LoadInteriorWith(const std::function<void(std::span<std::byte>)>& fill)
{
    if (!LoadsWhole())
        QRL_FAIL("The genotype records have no window for the landscape", "ModelTwo");
    const int w = pool_->FreeWindowFor(*this);
    const uint32_t base = pool_->WindowBase(w);
    fill({reinterpret_cast<std::byte*>(pool_->Writable(base)), InteriorBytes()});
    uint32_t id = base;
    for (int y = 1; y <= maxY_; ++y) {
        uint32_t* ids = IdRow(y);
        for (int x = 1; x <= maxX_; ++x)
            ids[x] = id++;
    }
}

bool GenotypeGrid::HoldsWindow(int w, bool withoutInterior) const
{
    const uint32_t base = pool_->WindowBase(w);
    const uint32_t records = static_cast<uint32_t>(pool_->WindowRecords());
    // Every position is looked at (no early way out), so that the test runs in wide lanes.
    const auto inWindow = [&](const uint32_t* ids, std::size_t n) {
        uint32_t any = 0;
        for (std::size_t i = 0; i < n; ++i)
            any |= static_cast<uint32_t>(ids[i] - base < records);
        return any != 0;
    };
    const std::size_t width = Width();
    if (!withoutInterior)
        return inWindow(ids_.get(), PositionCount(maxX_, maxY_));
    bool held = inWindow(IdRow(0), width) || inWindow(IdRow(maxY_ + 1), width);
    for (int y = 1; y <= maxY_ && !held; ++y) {
        const uint32_t* ids = IdRow(y);
        held = ids[0] - base < records || ids[width - 1] - base < records;
    }
    return held;
}

void GenotypeGrid::LeaveWindow(int w, bool withoutInterior)
{
    const std::size_t record = RecordBytes();
    EachPosition(ids_.get(), Width(), maxY_, withoutInterior, [&](uint32_t& id) {
        if (pool_->WindowOf(id) != w)
            return;
        const uint32_t own = pool_->Take();
        std::memcpy(pool_->Writable(own), pool_->Record(id), record);
        id = own;
    });
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
