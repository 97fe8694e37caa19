#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quorrel {

// An allocator for the few arrays of a quarter megabyte or more a run keeps (the landscape grids,
// the working lists of a generation): such an array is rounded up to whole 2 MB pages,
// aligned to them and, on Linux, asks for transparent huge pages, so that filling it takes
// a couple of page faults instead of hundreds and stepping over it fewer address
// translations. Smaller arrays are allocated as usual.
template <typename T>
class LargePageAllocator {
public:
    using value_type = T;
    static constexpr std::size_t LargePage = std::size_t(2) << 20;
    // From here on an array takes large pages. What it does not use of them is only touched
    // when the system backs them with a large page: at most 1.75 MB an array.
    static constexpr std::size_t Threshold = LargePage / 8;

    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < Threshold)
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
        if (n * sizeof(T) < Threshold)
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
