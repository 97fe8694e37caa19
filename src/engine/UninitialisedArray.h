#pragma once

#include "engine/LargePageAllocator.h"

#include <cstddef>
#include <type_traits>
#include <utility>

namespace quorrel {

// A working array of plain values whose entries are written before they are read. It is
// not filled when it grows, so that a large array costs only the memory a run touches (a
// vector would write every entry, which on a 700 x 700 landscape is most of a run's start);
// an array of a quarter megabyte or more takes large pages (LargePageAllocator), so that its
// first use costs a page fault or two instead of hundreds.
template <typename T>
class UninitialisedArray {
    static_assert(std::is_trivially_default_constructible_v<T> && std::is_trivially_destructible_v<T>);

public:
    UninitialisedArray() = default;
    ~UninitialisedArray() { Release(); }
    UninitialisedArray(UninitialisedArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0))
    {
    }
    UninitialisedArray& operator=(UninitialisedArray&& other) noexcept
    {
        if (this != &other) {
            Release();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    UninitialisedArray(const UninitialisedArray&) = delete;
    UninitialisedArray& operator=(const UninitialisedArray&) = delete;

    std::size_t size() const { return size_; }
    // Grows to hold at least n entries; what it held is lost when it grows.
    void Reserve(std::size_t n)
    {
        if (n > size_) {
            Release();
            data_ = LargePageAllocator<T>().allocate(n);
            size_ = n;
        }
    }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    friend void swap(UninitialisedArray& a, UninitialisedArray& b) noexcept
    {
        std::swap(a.data_, b.data_);
        std::swap(a.size_, b.size_);
    }

private:
    void Release() noexcept
    {
        if (data_ != nullptr)
            LargePageAllocator<T>().deallocate(data_, size_);
        data_ = nullptr;
        size_ = 0;
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace quorrel
