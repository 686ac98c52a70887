// One HTTP GET of a page, its body turned into a Text: unpacked when gzip-coded, converted to
// code page 936 when declared UTF-8. Every failure ends as the empty text.
#pragma once

#include <chrono>
#include <cstddef>

#include "text/text.hpp"

namespace proxylist {

// Each duration is 90 s in the product; tests pass shorter ones through the same code.
struct FetchTimeouts {
    std::chrono::milliseconds connect{90000};
    std::chrono::milliseconds send{90000};
    std::chrono::milliseconds receive{90000};  // the longest time without a byte of the answer
    std::chrono::milliseconds wait{90000};     // how long the caller waits for the exchange
};

// Like the unpacked body's cap, this only keeps a hostile or broken service from exhausting
// memory: the body beyond it is dropped as if it ended there.
inline constexpr std::size_t max_fetched_body_bytes = std::size_t{64} * 1024 * 1024;

// GET of url (leading white space cut) with a browser-like header block, redirects followed,
// the body taken whatever the status. The exchange runs on a thread of its own; when it has
// not ended within timeouts.wait it is abandoned and nothing it does afterwards reaches the
// caller. The empty text on any failure.
[[nodiscard]] Text fetch_page(const Text& url, FetchTimeouts timeouts = {}) noexcept;

}  // namespace proxylist
