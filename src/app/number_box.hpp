// The rules of the whole-number boxes (编辑框1 to 编辑框3), free of any window system: what
// typing may add, and how the text is corrected when the box loses the focus. Texts are UTF-8
// here; only ASCII characters matter to these rules, so any ASCII-compatible encoding works.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/layout.hpp"

namespace proxylist {

// Whether a typed character reaches the box. Control characters (below 32: Backspace and the
// copy, cut and paste keys) pass, so a paste is never filtered; of the rest only the digits
// and the minus sign pass, without a sound for what is dropped.
[[nodiscard]] constexpr bool number_box_accepts(char32_t code) noexcept {
    return code < 32 || (code >= U'0' && code <= U'9') || code == U'-';
}

// What is left of typed (or input-method committed) UTF-8 text after the filter: each
// character on its own, as if typed one by one.
[[nodiscard]] std::string number_box_typed_text(std::string_view utf8);

// The text read as a decimal number: leading white space skipped, an optional sign, then the
// digits up to the first non-digit; no digits read as 0. A digit string beyond the 64-bit
// range saturates at the limit of its sign rather than wrapping, so a huge number stays huge
// and the clamp that follows gives the nearest end of the box's range.
[[nodiscard]] std::int64_t number_box_value(std::string_view text) noexcept;

// What the box shows after the correction: the value clamped to the range, in decimal with a
// leading minus when negative; 0 is shown as the empty text.
[[nodiscard]] std::string number_box_corrected_text(std::string_view text, WholeNumberRange range);

struct NumberBoxCorrection {
    std::string text;
    // Where the caret goes: where the selection started before, within the new text.
    std::size_t caret;
};

// The correction to make when the box loses the focus, or nothing when the text is already
// what the correction would give (the box is then left alone). `selection_start` is counted
// in characters.
[[nodiscard]] std::optional<NumberBoxCorrection> number_box_focus_loss(std::string_view text,
                                                                       std::size_t selection_start,
                                                                       WholeNumberRange range);

}  // namespace proxylist
