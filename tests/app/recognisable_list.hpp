// Lists that name themselves, for the tests that kill saves: every list is made from a seed
// and a serial number, carries its length and a checksum in its first line, and names its seed
// and serial on every line, so that a file holding a torn list, or parts of two, is told from
// one that holds a whole list.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace proxylist::testing {

struct ListName {
    std::uint32_t seed = 0;
    std::uint32_t serial = 0;
    friend bool operator==(const ListName&, const ListName&) = default;
};

inline constexpr std::size_t kListHeadBytes = 51;  // "#list <seed> <serial> <length> <sum>\r\n"
inline constexpr std::size_t kShortestListExponent =
    5;  // 32 bytes, less than the head: the head alone
inline constexpr std::size_t kLongestListExponent = 22;  // 4 MiB

namespace detail {

inline std::uint64_t mix(std::uint64_t x) {  // splitmix64
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// FNV-1a taken a word at a time: quick enough for lists of megabytes in a sanitizer build.
inline std::uint64_t checksum(std::string_view bytes) {
    std::uint64_t sum = 0xCBF29CE484222325ull;
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, 8);
        sum = (sum ^ word) * 0x100000001B3ull;
    }
    for (; at < bytes.size(); ++at) {
        sum = (sum ^ static_cast<unsigned char>(bytes[at])) * 0x100000001B3ull;
    }
    return sum;
}

inline void put_hex(char* at, std::uint32_t value) {
    static constexpr char hex[] = "0123456789abcdef";
    for (int i = 7; i >= 0; --i, value >>= 4) {
        at[i] = hex[value & 0xF];
    }
}

}  // namespace detail

// Log-uniform between 32 bytes and 4 MiB, so that small lists are as common as huge ones.
inline std::size_t list_length(ListName name) {
    const std::uint64_t r = detail::mix((std::uint64_t{name.seed} << 32) | name.serial);
    const std::size_t span = kLongestListExponent - kShortestListExponent;
    const double exponent =
        static_cast<double>(kShortestListExponent) +
        static_cast<double>(span) * static_cast<double>(r >> 11) / static_cast<double>(1ull << 53);
    const auto length = static_cast<std::size_t>(std::exp2(exponent));
    return length < kListHeadBytes ? kListHeadBytes : length;
}

inline std::string recognisable_list(ListName name) {
    const std::size_t length = list_length(name);
    std::string list(length, '\0');
    // Body: lines "<seed>:<serial>:<line>\r\n", 28 bytes each, the last one cut to fit.
    char line[28];
    detail::put_hex(line, name.seed);
    line[8] = ':';
    detail::put_hex(line + 9, name.serial);
    line[17] = ':';
    line[26] = '\r';
    line[27] = '\n';
    char* const body = list.data() + kListHeadBytes;
    const std::size_t body_size = length - kListHeadBytes;
    for (std::size_t at = 0, number = 0; at < body_size; at += sizeof line, ++number) {
        detail::put_hex(line + 18, static_cast<std::uint32_t>(number));
        std::memcpy(body + at, line, std::min(sizeof line, body_size - at));
    }
    char head[2 * kListHeadBytes];
    std::snprintf(head, sizeof head, "#list %08x %08x %08x %016llx\r\n",
                  static_cast<unsigned>(name.seed), static_cast<unsigned>(name.serial),
                  static_cast<unsigned>(length),
                  static_cast<unsigned long long>(detail::checksum({body, body_size})));
    std::memcpy(list.data(), head, kListHeadBytes);
    return list;
}

// What a file holds: the list it is, or why it is none.
struct ListCheck {
    std::optional<ListName> name;
    std::string fault;  // "empty", "no head", "torn", "mixed", "not the list it names"
};

inline ListCheck check_list(std::string_view bytes) {
    if (bytes.empty()) {
        return {std::nullopt, "empty"};
    }
    unsigned seed = 0;
    unsigned serial = 0;
    std::size_t length = 0;
    unsigned long long sum = 0;
    const std::string head(bytes.substr(0, kListHeadBytes));
    if (bytes.size() < kListHeadBytes || std::sscanf(head.c_str(), "#list %8x %8x %8zx %16llx",
                                                     &seed, &serial, &length, &sum) != 4) {
        return {std::nullopt, "no head"};
    }
    if (length != bytes.size()) {
        return {std::nullopt,
                "torn: " + std::to_string(bytes.size()) + " bytes of " + std::to_string(length)};
    }
    if (detail::checksum(bytes.substr(kListHeadBytes)) != sum) {
        return {std::nullopt, "mixed: the checksum does not match"};
    }
    const ListName name{seed, serial};
    if (recognisable_list(name) != bytes) {
        return {std::nullopt, "not the list it names"};
    }
    return {name, {}};
}

}  // namespace proxylist::testing
