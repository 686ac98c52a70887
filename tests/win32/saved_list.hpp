// The list that save_beside_self saves: CR LF between entries, Chinese in code page 936 (北京,
// and 淺, whose second byte is a backslash), no line end after the last entry.
#pragma once

#include <string_view>

namespace proxylist::testing {

inline constexpr std::string_view saved_list =
    "\xB1\xB1\xBE\xA9 192.0.2.1:80\r\n"
    "\x9C\x5C 198.51.100.7:8080";

}  // namespace proxylist::testing
