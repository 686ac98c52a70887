#include "app/number_box.hpp"

#include <algorithm>
#include <limits>

namespace proxylist {
namespace {

constexpr bool is_white_space(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool is_digit(char c) noexcept {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string number_box_typed_text(std::string_view utf8) {
    // Bytes from 0x80 up belong to characters beyond ASCII, which the filter drops whole; an
    // ASCII byte is a character of its own.
    std::string kept;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && number_box_accepts(byte)) {
            kept.push_back(c);
        }
    }
    return kept;
}

std::int64_t number_box_value(std::string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && is_white_space(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate toward the sign's limit so that the most negative value is reachable too.
    constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t min = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (negative) {
            if (value < (min + digit) / 10) {
                return min;
            }
            value = value * 10 - digit;
        } else {
            if (value > (max - digit) / 10) {
                return max;
            }
            value = value * 10 + digit;
        }
    }
    return value;
}

std::string number_box_corrected_text(std::string_view text, WholeNumberRange range) {
    const std::int64_t value = std::clamp(number_box_value(text), range.min, range.max);
    if (value == 0) {
        return {};
    }
    return std::to_string(value);
}

std::optional<NumberBoxCorrection> number_box_focus_loss(std::string_view text,
                                                         std::size_t selection_start,
                                                         WholeNumberRange range) {
    std::string corrected = number_box_corrected_text(text, range);
    if (corrected == text) {
        return std::nullopt;
    }
    // The corrected text is ASCII, so its length in characters is its length in bytes.
    const std::size_t caret = std::min(selection_start, corrected.size());
    return NumberBoxCorrection{std::move(corrected), caret};
}

}  // namespace proxylist
