#include "service/redirects.hpp"

#include <cstddef>

#include "service/url_escape.hpp"
#include "text/text.hpp"

namespace proxylist {
namespace {

// The parts of a URI reference (RFC 3986 section 3), each present or not; the fragment is
// already cut off.
struct Reference {
    std::optional<std::string_view> scheme;
    std::optional<std::string_view> authority;
    std::string_view path;
    std::optional<std::string_view> query;
};

[[nodiscard]] bool is_ascii_letter(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

[[nodiscard]] bool is_scheme_character(char c) noexcept {
    return is_ascii_letter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The scheme's length when s starts with one followed by ":", else 0.
[[nodiscard]] std::size_t scheme_length(std::string_view s) noexcept {
    if (s.empty() || !is_ascii_letter(s.front())) {
        return 0;
    }
    std::size_t n = 1;
    while (n < s.size() && is_scheme_character(s[n])) {
        ++n;
    }
    return n < s.size() && s[n] == ':' ? n : 0;
}

Reference split_reference(std::string_view s) {
    Reference r;
    s = s.substr(0, s.find('#'));
    if (const std::size_t n = scheme_length(s); n > 0) {
        r.scheme = s.substr(0, n);
        s.remove_prefix(n + 1);
    }
    if (s.starts_with("//")) {
        const std::size_t end = s.find_first_of("/?", 2);
        r.authority = s.substr(2, end == std::string_view::npos ? s.size() - 2 : end - 2);
        s.remove_prefix(2 + r.authority->size());
    }
    const std::size_t question = s.find('?');
    r.path = s.substr(0, question);
    if (question != std::string_view::npos) {
        r.query = s.substr(question + 1);
    }
    return r;
}

// RFC 3986 section 5.2.3.
std::string merge_paths(const Reference& base, std::string_view relative_path) {
    std::string merged;
    if (base.authority && base.path.empty()) {
        merged = "/";
    } else {
        const std::size_t slash = base.path.rfind('/');
        merged = base.path.substr(0, slash == std::string_view::npos ? 0 : slash + 1);
    }
    merged.append(relative_path);
    return merged;
}

[[nodiscard]] bool equals_ignoring_case(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> redirect_url(std::string_view current_url, std::string_view location) {
    const Reference base = split_reference(current_url);
    const Reference reference = split_reference(cut_leading_white_space(location));

    // RFC 3986 section 5.2.2; the dot segments go in canonical_url() below.
    Reference target;
    std::string path;
    if (reference.scheme) {
        target = reference;
        path = reference.path;
    } else {
        target.scheme = base.scheme;
        if (reference.authority) {
            target.authority = reference.authority;
            path = reference.path;
            target.query = reference.query;
        } else {
            target.authority = base.authority;
            if (reference.path.empty()) {
                path = base.path;
                target.query = reference.query ? reference.query : base.query;
            } else {
                path = reference.path.starts_with('/') ? std::string(reference.path)
                                                       : merge_paths(base, reference.path);
                target.query = reference.query;
            }
        }
    }
    if (!target.scheme || !target.authority ||
        !(equals_ignoring_case(*target.scheme, "http") ||
          equals_ignoring_case(*target.scheme, "https"))) {
        return std::nullopt;
    }
    std::string url(*target.scheme);
    url += "://";
    url += *target.authority;
    url += path;
    if (target.query) {
        url += '?';
        url += *target.query;
    }
    return canonical_url(url);
}

}  // namespace proxylist
