// The seam to the platform's HTTP client: one GET. http_exchange_curl.cpp implements it with
// libcurl on Linux.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace proxylist {

struct HttpTimeouts {
    std::chrono::milliseconds connect;
    std::chrono::milliseconds send;
    std::chrono::milliseconds receive;  // the longest time without a byte of the answer
};

struct HttpRequest {
    std::string canonical_url;  // escaped already; the client does not escape it again
    std::string header_block;   // lines each ended with CR LF
    HttpTimeouts timeouts;
    std::size_t max_body_bytes;  // the body beyond this is dropped, as if cut off there
};

enum class ContentCoding { none, gzip, deflate };

// Only the exact values count: "GZIP" or "gzip, identity" name no coding this client unpacks.
[[nodiscard]] constexpr ContentCoding content_coding_kind(std::string_view value) noexcept {
    if (value == "gzip") {
        return ContentCoding::gzip;
    }
    if (value == "deflate") {
        return ContentCoding::deflate;
    }
    return ContentCoding::none;
}

struct HttpAnswer {
    std::string body{};          // whatever the status; cut short where reading failed
    std::string content_type{};  // empty when the header is absent
    ContentCoding coding = ContentCoding::none;
};

// GET of request.canonical_url with the header block, following redirects. Nothing when no
// answer arrived (no connection, a host that does not resolve, a time-out before the head of
// the final answer, too many redirects) or when stop was requested. Throws nothing.
[[nodiscard]] std::optional<HttpAnswer> http_exchange(const HttpRequest& request,
                                                      std::stop_token stop) noexcept;

}  // namespace proxylist
