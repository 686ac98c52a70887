// The layout's texts are UTF-8; the windows are Unicode windows, so that captions show the same
// whatever the system's ANSI code page. The control access still reads and writes code page 936
// through the ANSI calls (win32_controls.cpp).
#pragma once

#include <string>
#include <string_view>

namespace proxylist {

[[nodiscard]] std::wstring wide_from_utf8(std::string_view utf8);
[[nodiscard]] std::string utf8_from_wide(std::wstring_view wide);

}  // namespace proxylist
