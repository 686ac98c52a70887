// Link-time seam: each executable links exactly one definition. The core's default
// (heap_exhausted_stderr) prints to standard error; the desktop front-ends show a message box.
#pragma once

#include <cstddef>

namespace proxylist {

// Tells the user how many bytes were asked for in vain and ends the process with exit code -1.
[[noreturn]] void on_heap_exhausted(std::size_t requested_bytes) noexcept;

// The words shown to the user; shared so that every front-end says the same.
void format_heap_exhausted_message(std::size_t requested_bytes, char* out,
                                   std::size_t out_size) noexcept;

}  // namespace proxylist
