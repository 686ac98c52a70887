// Searches that honour the two-byte rule without walking every byte: candidates are found with
// memchr/memrchr, and whether a candidate starts a character is decided from the parity of the
// run of bytes >= 0x80 right before it (a byte after a byte < 0x80 always starts a character).
#pragma once

#include <cstddef>
#include <string_view>

#include "text/text.hpp"

namespace proxylist {

// Byte offset of the last occurrence of needle in text that begins at a character start
// (characters counted from text's first byte), or npos. needle is not empty.
[[nodiscard]] std::size_t find_last_at_character_start(std::string_view text,
                                                       std::string_view needle,
                                                       bool fold_case) noexcept;

// text with the occurrences of needle found by walking characters from offset (taken as a
// character start) replaced by replacement, at most limit of them. needle is not empty.
[[nodiscard]] Text::Storage replace_from(std::string_view text, std::size_t offset,
                                         std::string_view needle, std::string_view replacement,
                                         std::size_t limit, bool fold_case);

}  // namespace proxylist
