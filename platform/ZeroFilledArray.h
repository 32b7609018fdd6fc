#pragma once
// Zero-filled memory for sample and coefficient tables. Allocation can fail
// (the owner then enters its failed state instead of throwing), and tests can
// make the next allocations fail to exercise those paths.

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

namespace platform {

// Allocates count bytes, zero-filled; nullptr on failure or injected failure.
void* AllocateZeroFilled(std::size_t count, std::size_t size);
void FreeZeroFilled(void* memory);

// Makes the next `count` zero-filled allocations fail (tests only).
void FailNextAllocations(int count);

// An owning, zero-filled array of trivially copyable elements.
template <typename T>
class ZeroFilledArray {
    static_assert(std::is_trivially_copyable_v<T>, "zero filling suits plain values only");

public:
    ZeroFilledArray() = default;
    ~ZeroFilledArray() { Free(); }
    ZeroFilledArray(const ZeroFilledArray&) = delete;
    ZeroFilledArray& operator=(const ZeroFilledArray&) = delete;
    ZeroFilledArray(ZeroFilledArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    ZeroFilledArray& operator=(ZeroFilledArray&& other) noexcept
    {
        if (this != &other) {
            Free();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }

    // Frees the old contents and allocates `count` zeroed elements.
    // Returns false (and holds nothing) when the memory cannot be had.
    bool Allocate(std::size_t count)
    {
        Free();
        if (count == 0)
            return false;
        data_ = static_cast<T*>(AllocateZeroFilled(count, sizeof(T)));
        if (data_ == nullptr)
            return false;
        size_ = count;
        return true;
    }

    void Free()
    {
        FreeZeroFilled(data_);
        data_ = nullptr;
        size_ = 0;
    }

    void Clear()
    {
        if (data_)
            std::memset(static_cast<void*>(data_), 0, size_ * sizeof(T));
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return data_ == nullptr; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

private:
    T* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace platform
