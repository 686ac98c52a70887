// The path rules of the Windows file seam (files_win32.cpp), apart so that tests can state them
// row by row.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace proxylist::win32_paths {

// The most a temporary file's name adds to the name of the file it replaces: ".tmp-", the
// process id (up to 10 digits), "-" and 8 hex digits.
inline constexpr std::size_t temporary_suffix_room = 24;

// Offset of the last backslash that separates a path of code page 936 bytes, or npos. A 0x5C
// byte that is the second byte of a two-byte character (淺 is 9C 5C) separates nothing.
[[nodiscard]] std::size_t last_separator(std::string_view cp936_path) noexcept;

// `path` as the wide calls take it for a file and its temporary file beside it: unchanged while
// both fit the 260 characters of the plain form, else in the "\\?\" form ("\\?\UNC\" for a
// share), made absolute and canonical first since that form takes the path literally.
[[nodiscard]] std::wstring wide_call_path(const std::wstring& path);

}  // namespace proxylist::win32_paths
