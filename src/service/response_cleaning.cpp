#include "service/response_cleaning.hpp"

#include <algorithm>
#include <cmath>

#include "service/list_page_pass.hpp"

namespace proxylist {

namespace {

// Byte offset where the text after the last marker begins, or nothing when there is none.
std::optional<std::size_t> offset_after_last(const Text& text, const Text& marker,
                                             std::optional<std::int32_t> start,
                                             std::optional<bool> ignore_case) {
    const std::int32_t length = text_byte_length(text);
    const std::int32_t search_start = start.value_or(length);
    const std::int32_t pos =
        text_find_last(text, marker, search_start, ignore_case.value_or(false));
    if (pos == -1) {
        return std::nullopt;
    }
    // Computed in double and truncated, then the low 32 bits: exact for every 32-bit length.
    const double tail_bytes = static_cast<double>(length) -
                              static_cast<double>(text_byte_length(marker)) -
                              static_cast<double>(pos) + 1.0;
    const auto count = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(static_cast<std::int64_t>(std::trunc(tail_bytes))));
    if (count <= 0) {
        return text.size();
    }
    return text.size() - std::min(text.size(), static_cast<std::size_t>(count));
}

}  // namespace

Text text_after_last(const Text& text, const Text& marker, std::optional<std::int32_t> start,
                     std::optional<bool> ignore_case) {
    const auto offset = offset_after_last(text, marker, start, ignore_case);
    return offset ? Text(text.view().substr(*offset)) : Text();
}

Text replace_pairs(const Text& text, std::optional<std::int32_t> count,
                   std::optional<std::int32_t> start, std::optional<bool> case_sensitive,
                   std::span<const ReplacePair> pairs) {
    if (start.value_or(0) == 0) {
        start = 1;
    }
    constexpr std::size_t max_pairs = 5;
    Text current = text;
    for (std::size_t i = 0; i < pairs.size() && i < max_pairs; ++i) {
        current = text_replace(current, pairs[i].search, pairs[i].replacement, start, count,
                               case_sensitive.value_or(false));
    }
    return current;
}

Text clean_list_page(const Text& page) {
    // The same steps as text_after_last, text_trim_leading and replace_pairs with
    // "\r\n" -> "" and "<br>" -> "\r\n", without the intermediate copies: pages can be large.
    const auto offset = offset_after_last(page, "</html>", std::nullopt, std::nullopt);
    if (!offset) {
        return {};
    }
    return delete_crlf_then_break_tags_to_crlf(
        page.view().substr(*offset + leading_space_bytes(page.view().substr(*offset))));
}

}  // namespace proxylist
