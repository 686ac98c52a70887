// One HTTP GET of a page, its body turned into a Text: unpacked when gzip-coded, converted to
// code page 936 when declared UTF-8. Every failure ends as the empty text.
#pragma once

#include <chrono>
#include <cstddef>

#include "service/http_exchange.hpp"
#include "text/text.hpp"

namespace proxylist {

// Each duration is 90 s in the product; tests pass shorter ones through the same code.
struct FetchTimeouts {
    std::chrono::milliseconds connect{90000};
    std::chrono::milliseconds send{90000};
    std::chrono::milliseconds receive{90000};  // the longest time without a byte of the answer
    std::chrono::milliseconds wait{90000};     // how long the caller waits for the exchange
};

// A proxy list is a few kilobytes; these only keep a hostile or broken service from
// exhausting memory. Beyond either limit the rest is dropped as if the body ended there.
inline constexpr std::size_t max_fetched_body_bytes = std::size_t{64} * 1024 * 1024;
inline constexpr std::size_t max_unpacked_body_bytes = std::size_t{64} * 1024 * 1024;

// GET of url (leading white space cut) with a browser-like header block, redirects followed,
// the body taken whatever the status. The exchange runs on a thread of its own; when it has
// not ended within timeouts.wait it is abandoned and nothing it does afterwards reaches the
// caller. The empty text on any failure.
[[nodiscard]] Text fetch_page(const Text& url, FetchTimeouts timeouts = {}) noexcept;

// The page an answer carries: the body unpacked when its coding is gzip or deflate, then
// converted from UTF-8 when the content type names "utf-8" (any letter case), ending at the
// first zero byte.
[[nodiscard]] Text page_text(HttpAnswer answer);

}  // namespace proxylist
