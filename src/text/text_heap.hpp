// The heap every Text lives on: the process heap on Windows (text_heap_win32.cpp), the C++
// free store elsewhere (text_heap_posix.cpp).
#pragma once

#include <cstddef>

namespace proxylist {

// A block of `bytes` bytes, or null when the heap cannot supply it.
[[nodiscard]] void* text_heap_take(std::size_t bytes) noexcept;
// Gives back a block that text_heap_take returned.
void text_heap_give_back(void* block) noexcept;

}  // namespace proxylist
