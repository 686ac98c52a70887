// The page the demo service answers: an HTML head, "</html>", then ip:port entries from the
// documentation address ranges, each followed by "<br>" and CR LF. Every filter shows:
//   tqsl  how many entries (empty or not a number: 10; at most 10000),
//   ktip  what each address begins with,
//   ports the one port of every entry,
//   sxa   the carrier (code page 936): 电信, 联通 and 移动 each have a range of their own,
//   sxb   the region (code page 936): picks which addresses of the ranges come first.
// The same query always gives the same page.
#pragma once

#include <string>

#include "query_string.hpp"

namespace demo {

inline constexpr int max_entries = 10000;

[[nodiscard]] std::string demo_list_page(const QueryValues& query);

}  // namespace demo
