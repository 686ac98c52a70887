// The seam to the platform's HTTP client: one GET, request in, body and two headers out.
// http_exchange_curl.cpp implements it with libcurl on Linux, http_exchange_wininet.cpp with
// WinINet on Windows. Both keep the contract below; the exchange tests run one table of it
// against whichever implementation the build has.
//
// The request
// - canonical_url is sent as it stands: the caller has escaped it and resolved its dot
//   segments, so the client escapes nothing again. The request line carries its path and query.
// - The URL must be http or https with a host. Split, its parts must fit the room a split URL
//   has: a host of at most 256 bytes, a path with query of at most 2048, a user name and a
//   password of at most 128 each; a URL beyond that, or one that cannot be split, is no
//   exchange. A user name or password goes to the client only where the URL holds a non-empty
//   one, and to the server only once it asks for them (a 401 answer and a second request).
// - On the wire: the request line, the header block's lines in its order, the lines the client
//   adds (the host line; an Authorization line once asked for), and an empty line. Where the
//   client puts its own lines is its own: libcurl and Wine's WinINet put the host line first.
//   No Accept-Encoding line (the body arrives as the server coded it), no cookie, cache or
//   connection line of the client's own: a second request of the same URL is the same bytes.
// - https: certificates are accepted outside their validity dates and with a host name that
//   does not match; any other certificate fault fails the exchange.
// - Proxy: the platform's own configuration. On Linux the environment variables libcurl reads
//   (http_proxy, https_proxy, all_proxy, no_proxy); on Windows the system's Internet settings.
//
// The answer
// - Redirects (an answer of 300 to 399 but 304 with a Location line) are followed by
//   follow_redirects() (service/redirects.hpp), not by the client: to http and https only, with
//   the same header block, the Location resolved against the URL it answers and escaped as a
//   request URL is; at most 30 hops, and a redirect's body is not read. The answer read is the
//   first that is not followed. The 31st redirect in a row, or one that cannot be followed, is
//   no answer.
// - The status is not looked at: an error page is an answer like any other.
// - Of two header lines of the same name, the first counts. Content-Type is its value with
//   leading and trailing white space dropped; Content-Encoding is reduced to a kind, and only
//   the exact values "gzip" and "deflate" name one.
// - The body is read until it ends. A read that fails part way (a reset, the receive time-out)
//   keeps the bytes read before it, once the head of the final answer has arrived; before
//   that there is no answer. Bytes beyond max_body_bytes are dropped as if the body ended there.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace proxylist {

// Bounds of the room a split URL has.
inline constexpr std::size_t max_url_host_bytes = 256;
inline constexpr std::size_t max_url_target_bytes = 2048;
inline constexpr std::size_t max_url_credential_bytes = 128;
// How many redirects in a row are followed.
inline constexpr int max_redirects = 30;

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
