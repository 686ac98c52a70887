// The one-pass list cleaning against the three steps it stands for: text_after_last with
// "</html>", then text_trim_leading, then replace_pairs deleting CR LF and turning "<br>" into
// CR LF; and those steps once more with the slow reference model of the text operations.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.hpp"
#include "service/response_cleaning.hpp"
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

std::string model_clean(const std::string& page) {
    const std::string marker = "</html>";
    const auto length = static_cast<std::int32_t>(page.size());
    const std::int32_t pos = model_find_last(page, marker, length, false);
    if (pos == -1) {
        return {};
    }
    const std::int32_t tail = length - static_cast<std::int32_t>(marker.size()) - pos + 1;
    std::string list = model_tail(page, tail);
    list = model_trim_leading(list);
    list = model_replace(list, "\r\n", "", std::nullopt, std::nullopt, false);
    return model_replace(list, "<br>", "\r\n", std::nullopt, std::nullopt, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text page(std::string_view(reinterpret_cast<const char*>(data), size));
    const ReplacePair pairs[] = {{"\r\n", {}}, {"<br>", "\r\n"}};

    const Text cleaned = clean_list_page(page);
    const Text stepwise = replace_pairs(text_trim_leading(text_after_last(page, "</html>")),
                                        std::nullopt, std::nullopt, std::nullopt, pairs);
    require(cleaned == stepwise, "one pass gives what the three steps give");
    require(cleaned.to_string() == model_clean(page.to_string()),
            "the three steps agree with the character walk");
    return 0;
}
