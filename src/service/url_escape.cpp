#include "service/url_escape.hpp"

#include <algorithm>
#include <cstddef>

namespace proxylist {
namespace {

// Besides bytes from 0x80 up, spaces and control characters: the ASCII characters a URL may not
// hold as they are (RFC 3986 leaves them out). An HTTP client would escape some of them, drop
// them or turn "\\" into "/", each its own way; escaped here they reach the service alike from
// every client. "#" among them: in a query composed from typed text it is data, not the start of
// a fragment that a client would cut off with the rest of the query.
[[nodiscard]] bool needs_escape(unsigned char byte) noexcept {
    constexpr std::string_view unsafe = "\"#<>\\^`{|}";
    return byte >= 0x80 || byte <= 0x20 || byte == 0x7F ||
           unsafe.find(static_cast<char>(byte)) != std::string_view::npos;
}

std::string escape_bytes(std::string_view in) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(in.size() + in.size() / 2);
    for (const char c : in) {
        const auto byte = static_cast<unsigned char>(c);
        if (needs_escape(byte)) {
            out.push_back('%');
            out.push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 0x0F]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Drops the last segment of output together with the "/" before it.
void drop_last_segment(std::string& output) {
    const std::size_t slash = output.rfind('/');
    output.erase(slash == std::string::npos ? 0 : slash);
}

// RFC 3986 section 5.2.4, on the path only (the query keeps its dots).
std::string remove_dot_segments(std::string_view input) {
    std::string output;
    output.reserve(input.size());
    while (!input.empty()) {
        if (input.starts_with("../")) {
            input.remove_prefix(3);
        } else if (input.starts_with("./")) {
            input.remove_prefix(2);
        } else if (input.starts_with("/./")) {
            input.remove_prefix(2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.starts_with("/../")) {
            input.remove_prefix(3);
            drop_last_segment(output);
        } else if (input == "/..") {
            input = "/";
            drop_last_segment(output);
        } else if (input == "." || input == "..") {
            input = {};
        } else {
            const std::size_t end = input.find('/', 1);
            const std::size_t length = end == std::string_view::npos ? input.size() : end;
            output.append(input.substr(0, length));
            input.remove_prefix(length);
        }
    }
    return output;
}

[[nodiscard]] bool ascii_letter(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

[[nodiscard]] bool is_scheme_character(char c) noexcept {
    return ascii_letter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Where the authority of a hierarchical URL ("scheme://authority/path") begins, or npos. Only a
// scheme at the very start counts: a "://" further on is part of a path or a query, which the
// resolution of dot segments must leave alone.
std::size_t authority_start(std::string_view url) noexcept {
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0 || !url.substr(colon).starts_with("://")) {
        return std::string_view::npos;
    }
    const std::string_view scheme = url.substr(0, colon);
    if (!ascii_letter(scheme.front()) ||
        !std::all_of(scheme.begin(), scheme.end(), is_scheme_character)) {
        return std::string_view::npos;
    }
    return colon + 3;
}

}  // namespace

std::string_view cut_leading_white_space(std::string_view url) noexcept {
    std::size_t start = 0;
    while (start < url.size() && is_url_white_space(url[start])) {
        ++start;
    }
    return url.substr(start);
}

std::string canonical_url(std::string_view request_url) {
    std::size_t end = request_url.size();
    while (end > 0 && is_url_white_space(request_url[end - 1])) {
        --end;
    }
    const std::string escaped = escape_bytes(request_url.substr(0, end));
    const std::string_view url = escaped;

    // Only a hierarchical URL ("scheme://authority/path") has segments to resolve. Finding
    // where its path starts and ends is all this needs; the client's URL parser splits it.
    const std::size_t authority = authority_start(url);
    if (authority == std::string_view::npos) {
        return escaped;
    }
    const std::size_t path_start = url.find_first_of("/?", authority);
    if (path_start == std::string_view::npos || url[path_start] != '/') {
        return escaped;
    }
    const std::size_t path_end = std::min(url.find('?', path_start), url.size());
    std::string canonical(url.substr(0, path_start));
    canonical += remove_dot_segments(url.substr(path_start, path_end - path_start));
    canonical += url.substr(path_end);
    return canonical;
}

}  // namespace proxylist
