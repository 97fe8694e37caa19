#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quorrel {

// An allocator for the few arrays of several megabytes a run keeps (the landscape grids):
// such an array is aligned to 2 MB and, on Linux, asks for transparent huge pages, so that
// filling it takes a couple of page faults instead of a thousand and stepping over it fewer
// address translations. Smaller arrays are allocated as usual.
template <typename T>
class LargePageAllocator {
public:
    using value_type = T;
    static constexpr std::size_t LargePage = std::size_t(2) << 20;

    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < LargePage)
            return static_cast<T*>(::operator new(bytes));
        const std::size_t rounded = (bytes + LargePage - 1) / LargePage * LargePage;
        void* p = std::aligned_alloc(LargePage, rounded);
        if (p == nullptr)
            throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        madvise(p, rounded, MADV_HUGEPAGE); // a hint: without huge pages all works the same
#endif
        return static_cast<T*>(p);
    }

    void deallocate(T* p, std::size_t n) noexcept
    {
        if (n * sizeof(T) < LargePage)
            ::operator delete(p);
        else
            std::free(p);
    }

    template <typename U>
    bool operator==(const LargePageAllocator<U>&) const noexcept
    {
        return true;
    }
};

} // namespace quorrel
