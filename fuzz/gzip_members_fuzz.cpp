// The gzip member reader on any body: the output must not depend on how the body and the
// output are cut into pieces, an output cap only cuts the output, and a body cut short gives a
// beginning of what the whole body gives.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.hpp"
#include "service/gzip_members.hpp"

using namespace proxylist;
using proxylist::fuzzing::require;

namespace {

// Far above any list a service sends, below what a 4 KiB deflate stream can inflate to: the cap
// itself is exercised, and a run stays fast and far below the fuzzer's memory limit.
constexpr std::size_t max_output = std::size_t{256} * 1024;

bool begins_with(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // The first bytes choose the cuts; the rest is the body.
    const GzipPieces pieces{input.ConsumeIntegralInRange<std::size_t>(1, 5000),
                            input.ConsumeIntegralInRange<std::size_t>(1, 5000)};
    const std::size_t cap = input.ConsumeIntegralInRange<std::size_t>(0, 1 << 16);
    const std::size_t cut = input.ConsumeIntegral<std::uint16_t>();
    const std::string body = input.ConsumeRemainingBytesAsString();

    const std::string whole = unpack_gzip_members(body, max_output);
    require(whole.size() <= max_output, "the output stays within its cap");

    require(unpack_gzip_members(body, max_output, pieces) == whole,
            "the pieces the inflater is fed and drained in change nothing");

    require(unpack_gzip_members(body, cap, pieces) == whole.substr(0, cap),
            "a smaller cap gives the beginning of the output");

    // The end of the body inside a member, a header or a trailer stops the reader with what
    // it had. The one exception is a lone 0x1F where the next member would begin: one byte is
    // no gzip magic, so it passes through as it is.
    const std::string_view cut_body = std::string_view(body).substr(0, cut);
    const std::string shorter = unpack_gzip_members(cut_body, max_output);
    const bool lone_magic_byte =
        !shorter.empty() && shorter.back() == '\x1F' && cut_body.ends_with('\x1F') &&
        begins_with(whole, std::string_view(shorter).substr(0, shorter.size() - 1));
    require(begins_with(whole, shorter) || lone_magic_byte,
            "a body cut short gives the beginning of the output");
    return 0;
}
