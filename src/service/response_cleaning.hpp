// Turns the page of the query service into the list shown to the user.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "text/text.hpp"

namespace proxylist {

// The text after the last occurrence of marker, searched in the first start-1 bytes (start
// left out: the text's length, so a marker that ends at the last byte is not seen).
[[nodiscard]] Text text_after_last(const Text& text, const Text& marker,
                                   std::optional<std::int32_t> start = std::nullopt,
                                   std::optional<bool> ignore_case = std::nullopt);

struct ReplacePair {
    Text search;
    Text replacement;  // absent: the search text is deleted
};

// Applies up to five pairs in order, each to the output of the one before. Pairs beyond the
// fifth are ignored; a pair with an empty search text changes nothing.
[[nodiscard]] Text replace_pairs(const Text& text, std::optional<std::int32_t> count,
                                 std::optional<std::int32_t> start,
                                 std::optional<bool> case_sensitive,
                                 std::span<const ReplacePair> pairs);

// The list after the page's last "</html>": leading spaces trimmed, the page's own CR LF
// deleted, every "<br>" (any letter case) turned into CR LF.
[[nodiscard]] Text clean_list_page(const Text& page);

}  // namespace proxylist
