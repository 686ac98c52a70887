// Conversions between Unicode and code page 936. One implementation per platform:
// codepage_iconv.cpp (glibc iconv) on Linux, codepage_win32.cpp (MultiByteToWideChar and
// WideCharToMultiByte with the ANSI code page) on Windows.
#pragma once

#include <string>
#include <string_view>

#include "text/text.hpp"

namespace proxylist {

// UTF-8 to code page 936, ending at the first zero character. Characters that code page 936
// lacks and invalid UTF-8 sequences each become "?".
[[nodiscard]] Text cp936_from_utf8(std::string_view utf8);

// Code page 936 to UTF-8. A byte sequence that is no character of code page 936 becomes "?".
[[nodiscard]] std::string utf8_from_cp936(std::string_view cp936);

}  // namespace proxylist
