// The request URL and its canonical form: the exact bytes the request line carries, the same on
// every platform because this code, not the HTTP client, does the escaping.
#pragma once

#include <string>
#include <string_view>

namespace proxylist {

// White space that a request URL loses at its start (and its canonical form at its end).
[[nodiscard]] constexpr bool is_url_white_space(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// url without its leading white space; the Referer carries this exactly as it stands.
[[nodiscard]] std::string_view cut_leading_white_space(std::string_view url) noexcept;

// The request URL as it goes on the wire: trailing white space dropped, "." and ".." path
// segments resolved, and every byte from 0x80 up, every space, every control character and each
// of " # < > \ ^ ` { | } written as "%" and two upper-case hex digits. Everything else, "%"
// included, stays as it is.
[[nodiscard]] std::string canonical_url(std::string_view request_url);

}  // namespace proxylist
