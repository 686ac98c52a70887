// The allocator behind every Text: an exhausted heap is never reported to the caller but ends
// the process through on_heap_exhausted, which each executable supplies.
#pragma once

#include <cstddef>

#include "text/heap_exhausted.hpp"
#include "text/text_heap.hpp"

namespace proxylist {

template <typename T>
struct TextAllocator {
    using value_type = T;

    TextAllocator() = default;
    template <typename U>
    constexpr TextAllocator(const TextAllocator<U>&) noexcept {}  // NOLINT

    [[nodiscard]] T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) {
            on_heap_exhausted(static_cast<std::size_t>(-1));
        }
        void* block = text_heap_take(bytes);
        if (block == nullptr) {
            on_heap_exhausted(bytes);
        }
        return static_cast<T*>(block);
    }
    void deallocate(T* p, std::size_t) noexcept { text_heap_give_back(p); }

    template <typename U>
    friend bool operator==(const TextAllocator&, const TextAllocator<U>&) noexcept {
        return true;
    }
};

}  // namespace proxylist
