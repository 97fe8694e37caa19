#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace quorrel {

// A working array of plain values whose entries are written before they are read. It is
// not filled when it grows, so that a large array costs only the memory a run touches (a
// vector would write every entry, which on a 700 x 700 landscape is most of a run's start).
template <typename T>
class UninitialisedArray {
public:
    std::size_t size() const { return size_; }
    // Grows to hold at least n entries; what it held is lost when it grows.
    void Reserve(std::size_t n)
    {
        if (n > size_) {
            data_.reset(new T[n]);
            size_ = n;
        }
    }
    T* data() { return data_.get(); }
    const T* data() const { return data_.get(); }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    friend void swap(UninitialisedArray& a, UninitialisedArray& b) noexcept
    {
        std::swap(a.data_, b.data_);
        std::swap(a.size_, b.size_);
    }

private:
    std::unique_ptr<T[]> data_;
    std::size_t size_ = 0;
};

} // namespace quorrel
