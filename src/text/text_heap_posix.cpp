#include <new>

#include "text/text_heap.hpp"

namespace proxylist {

void* text_heap_take(std::size_t bytes) noexcept {
    return ::operator new(bytes, std::nothrow);
}

void text_heap_give_back(void* block) noexcept {
    ::operator delete(block);
}

}  // namespace proxylist
