#include "query_string.hpp"

namespace demo {
namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::string percent_decode(std::string_view escaped) {
    std::string out;
    out.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size() && hex_value(escaped[i + 1]) >= 0 &&
            hex_value(escaped[i + 2]) >= 0) {
            out.push_back(
                static_cast<char>(hex_value(escaped[i + 1]) * 16 + hex_value(escaped[i + 2])));
            i += 2;
        } else if (escaped[i] == '+') {
            out.push_back(' ');
        } else {
            out.push_back(escaped[i]);
        }
    }
    return out;
}

QueryValues parse_query(std::string_view query) {
    QueryValues values;
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const auto eq = pair.find('=');
        const std::string key = percent_decode(pair.substr(0, eq));
        const std::string value =
            eq == std::string_view::npos ? std::string() : percent_decode(pair.substr(eq + 1));
        values.emplace(key, value);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    }
    return values;
}

}  // namespace demo
