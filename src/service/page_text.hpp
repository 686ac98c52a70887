// What an HTTP answer's body becomes: the page as code page 936 text.
#pragma once

#include <cstddef>

#include "service/http_exchange.hpp"
#include "text/text.hpp"

namespace proxylist {

// A proxy list is a few kilobytes; this only keeps a hostile or broken service from exhausting
// memory. Beyond it the rest of the unpacked body is dropped, as if it ended there.
inline constexpr std::size_t max_unpacked_body_bytes = std::size_t{64} * 1024 * 1024;

// The page an answer carries: the body unpacked when its coding is gzip or deflate, then
// converted from UTF-8 when the content type names "utf-8" (any letter case), ending at the
// first zero byte.
[[nodiscard]] Text page_text(HttpAnswer answer);

}  // namespace proxylist
