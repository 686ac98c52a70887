// The reference model's walk for the two text operations that do not search: which leading
// bytes text_trim_leading drops, and which bytes text_tail keeps.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace proxylist::reference {

// Leading spaces and full-width spaces (0xA1 0xA1), skipped one character at a time.
inline std::string model_trim_leading(const std::string& t) {
    std::size_t k = 0;
    while (k < t.size()) {
        if (t[k] == ' ') {
            k += 1;
        } else if (t[k] == '\xA1' && k + 1 < t.size() && t[k + 1] == '\xA1') {
            k += 2;
        } else {
            break;
        }
    }
    return t.substr(k);
}

inline std::string model_tail(const std::string& t, std::int32_t n) {
    if (n <= 0) {
        return {};
    }
    const std::size_t keep = std::min(t.size(), static_cast<std::size_t>(n));
    return t.substr(t.size() - keep);
}

}  // namespace proxylist::reference
