#include "service/header_block.hpp"

namespace proxylist {
namespace {

[[nodiscard]] std::string_view line_name(std::string_view line) {
    return line.substr(0, line.find(": ") + 2);
}

void append_unless_named(std::string& block, std::string_view line) {
    if (block.find(line_name(line)) == std::string::npos) {
        block.append(line);
        block.append("\r\n");
    }
}

std::string referer_line(std::string_view request_url) {
    std::string line = "Referer: ";
    line.reserve(line.size() + request_url.size());
    for (const char c : request_url) {
        if (c == '\r') {
            line.append("%0D");
        } else if (c == '\n') {
            line.append("%0A");
        } else {
            line.push_back(c);
        }
    }
    return line;
}

}  // namespace

std::string header_block(std::string_view caller_lines, std::string_view request_url) {
    std::string block(caller_lines);
    if (!block.empty() && !block.ends_with("\r\n")) {
        block.append("\r\n");
    }
    append_unless_named(block, user_agent_line);
    append_unless_named(block, accept_line);
    append_unless_named(block, referer_line(request_url));
    append_unless_named(block, accept_language_line);
    return block;
}

}  // namespace proxylist
