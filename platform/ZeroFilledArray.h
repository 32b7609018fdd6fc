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

// Address room of `bytes` with no memory behind it yet; nullptr on failure.
void* ReserveAddressRoom(std::size_t bytes);
// Puts zeroed memory behind the first `bytes` of a reserved room (which may
// already have some); false when the memory cannot be had or a failure is
// injected. The room does not move.
bool CommitAddressRoom(void* room, std::size_t bytes);
void ReleaseAddressRoom(void* room, std::size_t bytes);

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
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    ZeroFilledArray& operator=(ZeroFilledArray&& other) noexcept
    {
        if (this != &other) {
            Free();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
            capacity_ = std::exchange(other.capacity_, 0);
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

    // Frees the old contents and reserves room for `capacity` elements of
    // which the first `count` are usable. The array then grows in place up
    // to its capacity: data() never moves, so another thread may go on
    // writing the elements it already has while this one grows it.
    bool Reserve(std::size_t capacity, std::size_t count)
    {
        Free();
        if (capacity == 0 || count > capacity)
            return false;
        void* room = ReserveAddressRoom(capacity * sizeof(T));
        if (room == nullptr)
            return false;
        data_ = static_cast<T*>(room);
        capacity_ = capacity;
        if (!GrowInPlace(count)) {
            Free();
            return false;
        }
        return true;
    }

    // A reserved array to `count` elements, added ones zero; false (and
    // unchanged) when not reserved, beyond the capacity or out of memory.
    bool GrowInPlace(std::size_t count)
    {
        if (capacity_ == 0 || count > capacity_)
            return false;
        if (count > size_ && !CommitAddressRoom(data_, count * sizeof(T)))
            return false;
        size_ = count;
        return true;
    }

    void Free()
    {
        if (capacity_ != 0)
            ReleaseAddressRoom(data_, capacity_ * sizeof(T));
        else
            FreeZeroFilled(data_);
        data_ = nullptr;
        size_ = 0;
        capacity_ = 0;
    }

    void Clear()
    {
        if (data_)
            std::memset(static_cast<void*>(data_), 0, size_ * sizeof(T));
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    // Elements a reserved array can grow to in place; 0 when not reserved.
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return data_ == nullptr; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

private:
    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace platform
