#include "text/codepage.hpp"

#include <cstddef>

#include "text/codepage_tables.hpp"

namespace proxylist {
namespace {

// Length of the valid UTF-8 sequence at the start of s, or 0 when it is not one.
std::size_t valid_utf8_sequence_length(std::string_view s) noexcept {
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t n = 0;
    char32_t min = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        n = 2, min = 0x80, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3, min = 0x800, cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() < n) {
        return 0;
    }
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return (cp < min || cp > 0x10FFFF || surrogate) ? 0 : n;
}

}  // namespace

Text cp936_from_utf8(std::string_view utf8) {
    std::string_view rest = utf8.substr(0, utf8.find('\0'));
    Text::Storage out;
    out.reserve(rest.size());
    // Runs of valid characters up to U+FFFF go to the platform's tables whole; each invalid
    // byte, and each character beyond U+FFFF (code page 936 has none), becomes one "?".
    while (!rest.empty()) {
        std::size_t run = 0;
        std::size_t length = 0;
        while (run < rest.size()) {
            length = valid_utf8_sequence_length(rest.substr(run));
            if (length == 0 || length == 4) {
                break;
            }
            run += length;
        }
        if (run > 0) {
            append_cp936_of_valid_utf8(rest.substr(0, run), out);
            rest.remove_prefix(run);
        }
        if (!rest.empty()) {
            out.push_back('?');
            rest.remove_prefix(length == 4 ? 4 : 1);
        }
    }
    return Text(std::move(out));
}

}  // namespace proxylist
