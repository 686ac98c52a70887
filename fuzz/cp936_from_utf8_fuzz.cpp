// The conversion of a UTF-8 page to code page 936 on any bytes: every character or invalid
// byte gives one or two bytes and never a zero byte (which would end the page early), and a
// code page 936 text that went to UTF-8 comes back as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.hpp"
#include "text/codepage.hpp"

using namespace proxylist;
using proxylist::fuzzing::require;

namespace {

bool is_continuation_byte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Every character of text, walked by the two-byte rule, is one that code page 936 has: an
// ASCII byte, or a pair that converts without the "?" of an unknown sequence (0x80 followed
// by a byte is no pair to the platform's table: it is the euro sign and one more byte).
// utf8 is text converted; each unknown sequence left one more "?" in it.
bool only_characters_of_936(std::string_view text, std::string_view utf8) {
    if (std::count(utf8.begin(), utf8.end(), '?') != std::count(text.begin(), text.end(), '?')) {
        return false;
    }
    for (std::size_t k = 0; k < text.size();) {
        if (!is_lead_byte(text[k])) {
            k += 1;
            continue;
        }
        if (k + 1 == text.size() ||
            utf8_from_cp936(text.substr(k, 2)).find('?') != std::string::npos) {
            return false;
        }
        k += 2;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view before_zero = bytes.substr(0, bytes.find('\0'));

    // As UTF-8. Each character (valid or not) starts with a byte that is no continuation byte
    // unless it is an invalid byte of its own, so there are at least as many characters as
    // such bytes, and at most as many as bytes.
    const Text page = cp936_from_utf8(bytes);
    const auto starts = static_cast<std::size_t>(std::count_if(
        before_zero.begin(), before_zero.end(), [](char c) { return !is_continuation_byte(c); }));
    require(page.size() >= starts, "no character vanishes and no zero byte ends the page early");
    require(page.size() <= 2 * before_zero.size(), "each character gives at most two bytes");

    // As code page 936: through UTF-8 and back. A text of characters that code page 936 has
    // comes back as it was.
    const std::string utf8 = utf8_from_cp936(before_zero);
    const Text back = cp936_from_utf8(utf8);
    require(utf8_from_cp936(back.view()) == utf8, "UTF-8 of 936 text survives the way back");
    if (only_characters_of_936(before_zero, utf8)) {
        require(back.view() == before_zero, "936 text survives the way to UTF-8 and back");
    }
    return 0;
}
