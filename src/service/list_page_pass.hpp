// The cleaning of a list in one pass over its bytes.
#pragma once

#include <string_view>

#include "text/text.hpp"

namespace proxylist {

// Exactly what deleting every CR LF (walking characters from the first byte) and then turning
// every "<br>" (any letter case) of that result into CR LF gives, in a single pass: a deleted
// CR LF keeps the character starts after it, so a "<br>" of the second step is a '<' at a
// character start followed by 'b', 'r', '>' with only deleted CR LF pairs between them.
[[nodiscard]] Text delete_crlf_then_break_tags_to_crlf(std::string_view list);

}  // namespace proxylist
