#pragma once

// Replaces the global allocator of the test program with one that counts allocations.
// Include it in exactly one source file of a program: it defines the replacement operators.

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
