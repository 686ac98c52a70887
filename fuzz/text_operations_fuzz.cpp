// The fast text operations against the slow reference model, a plain walk of the contract
// character by character: find_last, replace, trim_leading and tail on any bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "fuzz_check.hpp"
#include "text/text.hpp"
#include "text_reference_model.hpp"
#include "trim_and_tail_model.hpp"

using namespace proxylist;
using proxylist::fuzzing::require;
using proxylist::reference::model_find_last;
using proxylist::reference::model_replace;
using proxylist::reference::model_tail;
using proxylist::reference::model_trim_leading;

namespace {

// Positions and counts near the texts' lengths are where the edges are; the extremes of the
// 32-bit range come now and then.
std::int32_t position(FuzzedDataProvider& input) {
    if (input.ConsumeIntegralInRange(0, 7) == 0) {
        return input.ConsumeIntegral<std::int32_t>();
    }
    return input.ConsumeIntegralInRange<std::int32_t>(-3, 300);
}

std::optional<std::int32_t> optional_position(FuzzedDataProvider& input) {
    if (input.ConsumeBool()) {
        return std::nullopt;
    }
    return position(input);
}

// A Text holds no zero byte: the model sees what the Text holds.
std::string as_text(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int operation = input.ConsumeIntegralInRange(0, 3);
    const bool flag = input.ConsumeBool();
    const std::optional<std::int32_t> start = optional_position(input);
    const std::optional<std::int32_t> count = optional_position(input);
    const std::string s = as_text(input.ConsumeRandomLengthString(12));
    const std::string r = as_text(input.ConsumeRandomLengthString(12));
    const std::string t = as_text(input.ConsumeRemainingBytesAsString());

    switch (operation) {
        case 0:
            require(
                text_find_last(Text(t), Text(s), start, flag) == model_find_last(t, s, start, flag),
                "text_find_last agrees with the character walk");
            break;
        case 1:
            require(text_replace(Text(t), Text(s), Text(r), start, count, flag).to_string() ==
                        model_replace(t, s, r, start, count, flag),
                    "text_replace agrees with the character walk");
            break;
        case 2:
            require(text_trim_leading(Text(t)).to_string() == model_trim_leading(t),
                    "text_trim_leading agrees with the character walk");
            break;
        default: {
            const std::int32_t n = start.value_or(std::numeric_limits<std::int32_t>::max());
            require(text_tail(Text(t), n).to_string() == model_tail(t, n),
                    "text_tail agrees with the byte count");
            break;
        }
    }
    return 0;
}
