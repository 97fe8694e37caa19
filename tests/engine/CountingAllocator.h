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

// The nothrow forms too, so that every allocation the replaced deletes free comes from malloc
// (a sanitizer's own nothrow new would not match them).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return operator new(size, std::nothrow);
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
