// The platform's own character tables for code page 936: glibc iconv (codepage_iconv.cpp) or
// the system's conversion calls (codepage_win32.cpp). codepage.cpp does the UTF-8 decoding
// itself, so that both platforms treat invalid input and characters beyond U+FFFF alike.
#pragma once

#include <string_view>

#include "text/text.hpp"

namespace proxylist {

// Appends the code page 936 form of `utf8`, which is valid UTF-8 of characters from U+0001 to
// U+FFFF only. Each character that code page 936 lacks becomes "?".
void append_cp936_of_valid_utf8(std::string_view utf8, Text::Storage& out);

}  // namespace proxylist
