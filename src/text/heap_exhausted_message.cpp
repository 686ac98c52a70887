#include <cstdio>

#include "text/heap_exhausted.hpp"

namespace proxylist {

void format_heap_exhausted_message(std::size_t requested_bytes, char* out,
                                   std::size_t out_size) noexcept {
    // snprintf allocates nothing, which matters when the heap is what ran out.
    std::snprintf(out, out_size, "内存不足：申请 %zu 字节失败，程序将退出。", requested_bytes);
}

}  // namespace proxylist
