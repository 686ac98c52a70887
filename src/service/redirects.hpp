// Redirects as every HTTP exchange follows them: which answers are followed, where a Location
// leads, and how long a chain may grow. The clients' own automatic redirects stay off, so that the
// next request line is written by canonical_url() and reaches the service alike from every client.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "service/http_exchange.hpp"

namespace proxylist {

// An answer of 300 to 399 but 304, with a Location line that is not empty.
[[nodiscard]] constexpr bool is_followed_redirect(int status, std::string_view location) noexcept {
    return status >= 300 && status < 400 && status != 304 && !location.empty();
}

// Where a redirect from current_url leads: location, its fragment cut off, resolved against
// current_url as RFC 3986 section 5.2 resolves a reference, then written as canonical_url()
// writes a request URL (so raw bytes and spaces in it are escaped). Nothing when the result is
// not an http or https URL.
[[nodiscard]] std::optional<std::string> redirect_url(std::string_view current_url,
                                                      std::string_view location);

// One request of a chain and what its answer says about going on.
struct HopAnswer {
    HttpAnswer answer{};
    int status = 0;
    std::string location{};  // empty when the answer has none
};

// Runs the chain from first_url: send(url) makes one request and gives its answer, or nothing
// when no answer arrived. The answer read is the first that is not followed; the 31st redirect
// in a row, or one that leads nowhere a request can go, is no answer.
template <class SendOne>
[[nodiscard]] std::optional<HttpAnswer> follow_redirects(std::string first_url, SendOne&& send) {
    std::string url = std::move(first_url);
    for (int redirects = 0;; ++redirects) {
        std::optional<HopAnswer> hop = send(url);
        if (!hop) {
            return std::nullopt;
        }
        if (!is_followed_redirect(hop->status, hop->location)) {
            return std::move(hop->answer);
        }
        if (redirects == max_redirects) {
            return std::nullopt;
        }
        std::optional<std::string> next = redirect_url(url, hop->location);
        if (!next) {
            return std::nullopt;
        }
        url = std::move(*next);
    }
}

}  // namespace proxylist
