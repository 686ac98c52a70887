// The request URL and its canonical form on any bytes: no byte from 0x80 up, no space or
// control byte is left; canonicalising twice changes nothing; only the dot segments of the
// path are resolved, the rest being the bytes escaped one by one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.hpp"
#include "service/url_escape.hpp"

using namespace proxylist;
using proxylist::fuzzing::require;

namespace {

bool needs_escape(unsigned char byte) {
    return byte >= 0x80 || byte <= 0x20 || byte == 0x7F;
}

// Trailing white space dropped and every byte that needs it escaped, nothing else.
std::string escaped(std::string_view url) {
    while (!url.empty() && is_url_white_space(url.back())) {
        url.remove_suffix(1);
    }
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (needs_escape(byte)) {
            out += {'%', hex[byte >> 4], hex[byte & 0x0F]};
        } else {
            out += c;
        }
    }
    return out;
}

std::string_view from_query_on(std::string_view url) {
    const std::size_t query = url.find_first_of("?#");
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
        require(!needs_escape(static_cast<unsigned char>(c)),
                "no byte from 0x80 up, space or control byte is left");
    }
    require(canonical_url(canonical) == canonical, "canonicalising twice changes nothing");

    const std::string plain = escaped(request_url);
    require(from_query_on(canonical) == from_query_on(plain), "the query is never changed");
    if (plain.find("/.") == std::string::npos) {
        require(canonical == plain, "without dot segments only the escaping changes the URL");
    }
    return 0;
}
