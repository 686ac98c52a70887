#include <windows.h>

#include "text/text_heap.hpp"

namespace proxylist {

// No flags: the heap stays serialised, since the UI thread and a worker take blocks at the same
// time, and a block it cannot supply comes back as null instead of raising an exception, which
// the allocator turns into the end of the process.
void* text_heap_take(std::size_t bytes) noexcept {
    return ::HeapAlloc(::GetProcessHeap(), 0, bytes);
}

void text_heap_give_back(void* block) noexcept {
    ::HeapFree(::GetProcessHeap(), 0, block);
}

}  // namespace proxylist
