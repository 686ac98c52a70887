// The values of a query string, percent escapes decoded to their raw bytes.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace demo {

using QueryValues = std::map<std::string, std::string, std::less<>>;

// "a=1&b=%B1%B1" -> {a: "1", b: "\xB1\xB1"}; a key without "=" has the empty value, and the
// first of repeated keys wins.
[[nodiscard]] QueryValues parse_query(std::string_view query);

[[nodiscard]] std::string percent_decode(std::string_view escaped);

}  // namespace demo
