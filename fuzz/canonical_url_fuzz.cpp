// The request URL and its canonical form on any bytes: no byte from 0x80 up, no space or
// control byte is left; canonicalising twice changes nothing; only the dot segments of the
// path are resolved, the rest being the bytes as they are or escaped one by one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.hpp"
#include "service/url_escape.hpp"

using namespace proxylist;
using proxylist::fuzzing::require;

namespace {

bool must_escape(unsigned char byte) {
    return byte >= 0x80 || byte <= 0x20 || byte == 0x7F;
}

std::string percent_escape(char c) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    return {'%', hex[byte >> 4], hex[byte & 0x0F]};
}

std::string_view without_trailing_white_space(std::string_view url) {
    while (!url.empty() && is_url_white_space(url.back())) {
        url.remove_suffix(1);
    }
    return url;
}

// Whether written is original with each byte either as it is or as "%" and two upper-case hex
// digits, the bytes that must not stand in a request line always the latter. Which of the other
// bytes are escaped is the canonical form's own choice; "%" itself stays.
bool is_escaped_form_of(std::string_view written, std::string_view original) {
    std::size_t at = 0;
    for (const char c : original) {
        if (!must_escape(static_cast<unsigned char>(c)) && at < written.size() &&
            written[at] == c) {
            at += 1;
        } else if (written.substr(at, 3) == percent_escape(c)) {
            at += 3;
        } else {
            return false;
        }
    }
    return at == written.size();
}

std::string_view from_query_on(std::string_view url) {
    const std::size_t query = url.find('?');
    return query == std::string_view::npos ? std::string_view{} : url.substr(query);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view url(reinterpret_cast<const char*>(data), size);

    const std::string_view request_url = cut_leading_white_space(url);
    require(url.ends_with(request_url), "cutting keeps the end of the URL");
    require(request_url.empty() || !is_url_white_space(request_url.front()),
            "no white space is left at the start");
    require(cut_leading_white_space(request_url) == request_url, "cutting twice changes nothing");
    for (const char c : url.substr(0, url.size() - request_url.size())) {
        require(is_url_white_space(c), "only white space is cut");
    }

    const std::string canonical = canonical_url(request_url);
    for (const char c : canonical) {
        require(!must_escape(static_cast<unsigned char>(c)),
                "no byte from 0x80 up, space or control byte is left");
    }
    require(canonical_url(canonical) == canonical, "canonicalising twice changes nothing");

    const std::string_view trimmed = without_trailing_white_space(request_url);
    require(is_escaped_form_of(from_query_on(canonical), from_query_on(trimmed)),
            "the query is only escaped, never resolved");
    if (trimmed.find("/.") == std::string_view::npos) {
        require(is_escaped_form_of(canonical, trimmed),
                "without dot segments only the escaping changes the URL");
    }
    return 0;
}
