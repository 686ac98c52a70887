// A slow reference model of the searching text operations: a plain walk, character by
// character, of exactly what the contract says. The tests and the fuzz targets hold the fast
// operations against it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace proxylist::reference {

inline unsigned char fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

inline bool matches_at(const std::string& t, std::size_t k, const std::string& s, bool fold_case) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto a = static_cast<unsigned char>(t[k + i]);
        auto b = static_cast<unsigned char>(s[i]);
        if (fold_case) {
            a = fold(a);
            b = fold(b);
        }
        if (a != b) {
            return false;
        }
    }
    return true;
}

inline std::size_t character_length(const std::string& t, std::size_t k) {
    return (static_cast<unsigned char>(t[k]) >= 0x80 && k + 1 < t.size()) ? 2 : 1;
}

inline std::int32_t model_find_last(const std::string& t, const std::string& s,
                                    std::optional<std::int32_t> start, bool ignore_case) {
    const auto length = static_cast<std::int64_t>(t.size());
    std::int64_t region = length;
    if (start) {
        region = *start <= 1 ? 0 : std::min<std::int64_t>(*start - 1, length);
    }
    if (s.empty()) {
        return region > 0 ? 1 : -1;
    }
    std::int32_t found = -1;
    for (std::size_t k = 0; k < t.size(); k += character_length(t, k)) {
        if (static_cast<std::int64_t>(k + s.size()) <= region && matches_at(t, k, s, ignore_case)) {
            found = static_cast<std::int32_t>(k + 1);
        }
    }
    return found;
}

inline std::string model_replace(const std::string& t, const std::string& s, const std::string& r,
                                 std::optional<std::int32_t> start,
                                 std::optional<std::int32_t> count, bool case_sensitive) {
    const std::size_t offset = (start && *start > 1) ? static_cast<std::size_t>(*start - 1) : 0;
    const bool limited = count && *count >= 0;
    const std::int64_t limit = limited ? *count : 0;
    if (t.empty() || s.empty() || offset >= t.size() || (limited && limit == 0)) {
        return t;
    }
    std::string out = t.substr(0, offset);
    std::size_t k = offset;
    std::int64_t made = 0;
    while (k < t.size()) {
        if ((limited && made == limit) || t.size() - k < s.size()) {
            break;
        }
        if (matches_at(t, k, s, !case_sensitive)) {
            out += r;
            k += s.size();
            ++made;
        } else {
            const std::size_t n = character_length(t, k);
            out += t.substr(k, n);
            k += n;
        }
    }
    out += t.substr(std::min(k, t.size()));
    return out;
}

}  // namespace proxylist::reference
