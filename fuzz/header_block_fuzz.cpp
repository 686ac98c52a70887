// The header block on any caller lines and request URL: it starts with the caller's lines; each
// of the four lines follows exactly once, in order, unless the block before it already names
// it; none of them holds a CR or LF of its own; and the Referer carries the URL, with only CR
// and LF escaped.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.hpp"
#include "service/header_block.hpp"

using namespace proxylist;
using proxylist::fuzzing::require;

namespace {

std::string expected_referer(std::string_view url) {
    std::string line = "Referer: ";
    for (const char c : url) {
        line += c == '\r' ? std::string("%0D") : c == '\n' ? std::string("%0A") : std::string(1, c);
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string caller_lines = input.ConsumeRandomLengthString(200);
    const std::string url = input.ConsumeRemainingBytesAsString();

    const std::string block = header_block(caller_lines, url);

    std::string caller_part = caller_lines;
    if (!caller_part.empty() && !caller_part.ends_with("\r\n")) {
        caller_part += "\r\n";
    }
    require(block.starts_with(caller_part), "the caller's lines come first, ended by CR LF");

    const std::array<std::string, 4> lines = {std::string(user_agent_line),
                                              std::string(accept_line), expected_referer(url),
                                              std::string(accept_language_line)};
    std::string built = caller_part;
    std::string_view rest = std::string_view(block).substr(caller_part.size());
    for (const std::string& line : lines) {
        const std::string_view name = std::string_view(line).substr(0, line.find(": ") + 2);
        if (built.find(name) != std::string::npos) {
            continue;  // named already: left out
        }
        require(rest.starts_with(line + "\r\n"), "each line not yet named follows, in order");
        require(line.find_first_of("\r\n") == std::string::npos, "no CR or LF inside a line");
        built += line + "\r\n";
        rest.remove_prefix(line.size() + 2);
    }
    require(rest.empty(), "nothing else follows");
    require(built == block, "the block is the caller's lines and the lines not yet named");
    if (caller_lines.empty() && url.find(": ") == std::string::npos) {
        require(block == std::string(user_agent_line) + "\r\n" + std::string(accept_line) + "\r\n" +
                             expected_referer(url) + "\r\n" + std::string(accept_language_line) +
                             "\r\n",
                "the fetch's block holds all four lines");
    }
    return 0;
}
