#include "service/page_text.hpp"

#include <string>
#include <string_view>

#include "service/gzip_members.hpp"
#include "text/codepage.hpp"

namespace proxylist {
namespace {

[[nodiscard]] bool names_utf8(std::string_view content_type) {
    std::string lower(content_type);
    for (char& c : lower) {
        c = ascii_lower(c);
    }
    return lower.find("utf-8") != std::string::npos;
}

}  // namespace

Text page_text(HttpAnswer answer) {
    std::string body = answer.coding == ContentCoding::none
                           ? std::move(answer.body)
                           : unpack_gzip_members(answer.body, max_unpacked_body_bytes);
    if (names_utf8(answer.content_type)) {
        return cp936_from_utf8(body);
    }
    return Text(std::string_view(body));
}

}  // namespace proxylist
