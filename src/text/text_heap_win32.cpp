#include <windows.h>

#include "text/text_heap.hpp"

namespace proxylist {

void* text_heap_take(std::size_t bytes) noexcept {
    return ::HeapAlloc(::GetProcessHeap(), 0, bytes);
}

void text_heap_give_back(void* block) noexcept {
    ::HeapFree(::GetProcessHeap(), 0, block);
}

}  // namespace proxylist
