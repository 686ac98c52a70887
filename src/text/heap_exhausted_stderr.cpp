#include <cstdio>
#include <cstdlib>

#include "text/heap_exhausted.hpp"

namespace proxylist {

void on_heap_exhausted(std::size_t requested_bytes) noexcept {
    char message[160];
    format_heap_exhausted_message(requested_bytes, message, sizeof message);
    std::fprintf(stderr, "%s\n", message);
    std::_Exit(-1);
}

}  // namespace proxylist
