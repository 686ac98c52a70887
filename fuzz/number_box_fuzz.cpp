// The whole-number rule on any box text and range: the value read is C's strtoll (white
// space, sign, digits, saturated at the 64-bit limits); the corrected text lies within the
// range, is empty for 0, is written plainly, and correcting it again changes
// nothing; the focus loss changes the box exactly when the correction differs.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/layout.hpp"
#include "app/number_box.hpp"
#include "fuzz_check.hpp"

using namespace proxylist;
using proxylist::fuzzing::require;

namespace {

WholeNumberRange range_of(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return short_range;
        case 1:
            return int_range;
        default: {
            // Any range at all, the empty value 0 inside it or not.
            std::int64_t a = input.ConsumeIntegral<std::int64_t>();
            std::int64_t b = input.ConsumeIntegral<std::int64_t>();
            return {std::min(a, b), std::max(a, b)};
        }
    }
}

bool is_plain_decimal(std::string_view text) {
    if (text.starts_with('-')) {
        text.remove_prefix(1);
    }
    return !text.empty() && text.front() != '0' &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const WholeNumberRange range = range_of(input);
    const std::size_t selection_start = input.ConsumeIntegralInRange<std::size_t>(0, 40);
    const std::string text = input.ConsumeRemainingBytesAsString();

    // strtoll stops at the zero byte that ends the C string; so does the rule, at a non-digit.
    const std::int64_t value = number_box_value(text);
    require(value == std::strtoll(text.c_str(), nullptr, 10), "the value is what strtoll reads");

    const std::string corrected = number_box_corrected_text(text, range);
    const std::int64_t clamped = std::clamp(value, range.min, range.max);
    if (clamped == 0) {
        require(corrected.empty(), "0 is shown as the empty text");
    } else {
        require(is_plain_decimal(corrected), "an optional minus, then digits without a leading 0");
        const std::int64_t shown = number_box_value(corrected);
        require(shown >= range.min && shown <= range.max, "the result lies within the range");
        require(shown == clamped, "the box shows the value clamped to the range");
    }
    require(number_box_corrected_text(corrected, range) == corrected,
            "correcting twice changes nothing");

    const auto correction = number_box_focus_loss(text, selection_start, range);
    require(correction.has_value() == (corrected != text),
            "the box changes exactly when its text is not the corrected one");
    if (correction) {
        require(correction->text == corrected, "the box shows the corrected text");
        require(correction->caret <= corrected.size(), "the caret lies within the new text");
        require(correction->caret == std::min(selection_start, corrected.size()),
                "the caret goes where the selection started");
    }
    require(!number_box_focus_loss(corrected, selection_start, range).has_value(),
            "a corrected box is left alone");
    return 0;
}
