// SPDX-License-Identifier: GPL-3.0-or-later
// Vectors for tables of megabytes that live for one search. Mapping fresh
// memory one 4 KiB page at a time can cost more than filling it (on a
// virtual machine, microseconds a page), so such tables ask the system for
// 2 MiB pages where it offers them on request; from a quarter of that up,
// where one such page costs less than the small ones it replaces.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace zifrax::fast {

template <typename T>
class LargeTableAllocator {
public:
    using value_type = T;

    LargeTableAllocator() = default;
    template <typename U>
    LargeTableAllocator(const LargeTableAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t n)
    {
        if (n * sizeof(T) < kLeast)
            return std::allocator<T>().allocate(n);
        const std::size_t bytes = roundedUp(n * sizeof(T));
        void* memory = std::aligned_alloc(kHugePage, bytes);
        if (memory == nullptr)
            throw std::bad_alloc();
        // Only advice: where huge pages are off, the table has small ones.
        madvise(memory, bytes, MADV_HUGEPAGE);
        return static_cast<T*>(memory);
    }
    void deallocate(T* memory, std::size_t n) noexcept
    {
        if (n * sizeof(T) < kLeast)
            std::allocator<T>().deallocate(memory, n);
        else
            std::free(memory);
    }

    template <typename U>
    bool operator==(const LargeTableAllocator<U>&) const noexcept
    {
        return true;
    }

private:
    static constexpr std::size_t kHugePage = std::size_t(2) << 20;
    static constexpr std::size_t kLeast = kHugePage / 4;
    static std::size_t roundedUp(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }
};

template <typename T>
using LargeTable = std::vector<T, LargeTableAllocator<T>>;

}  // namespace zifrax::fast
