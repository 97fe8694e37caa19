#include "VariableTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Counts the allocations of the whole test program; the test reads the difference.
std::atomic<long> allocations{0};

} // namespace

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace quorrel {
namespace {

TEST(VariableNoAllocation, GenerationsAllocateNothing)
{
    for (bool meanField : {false, true}) {
        ParameterSet p = test::SmallParameters(60, 50, 4);
        test::MixedOutcomes(p);
        p.GParamRec.MeanField = meanField;
        p.GParamRec.TotalCover = 60.0f;
        p.MortalityVector[0] = 5.0f;
        p.MortalityVector[1] = p.MortalityVector[2] = 0.05f;
        p.GParamRec.DisturbProb = 0.01f;
        p.GParamRec.PatchSize = 12;
        p.GParamRec.RecruitType = meanField ? 1 : 0;
        p.GParamRec.MutationGR = 0.5f;
        p.GParamRec.MutationOTC = 0.5f;
        test::VariableRun run(p, 17);
        const long before = allocations.load();
        for (int g = 1; g <= 10; ++g)
            run.model.Generation(g);
        EXPECT_EQ(allocations.load() - before, 0) << "mean field " << meanField;
    }
}

} // namespace
} // namespace quorrel
