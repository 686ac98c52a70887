// Text values: zero-terminated byte strings in code page 936 (GBK).
//
// A Text owns its bytes. The absent text and the empty text are the same value, a Text never
// holds a zero byte (construction cuts at the first one), and every operation returns a fresh
// value without touching its inputs.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "text/text_allocator.hpp"

namespace proxylist {

class Text {
  public:
    using Storage = std::basic_string<char, std::char_traits<char>, TextAllocator<char>>;

    Text() = default;
    // Implicit so that literals read naturally at call sites; null is the absent text.
    Text(const char* zero_terminated);  // NOLINT(google-explicit-constructor)
    // Takes the bytes up to the first zero byte.
    explicit Text(std::string_view bytes);
    explicit Text(Storage&& bytes);

    [[nodiscard]] std::string_view view() const noexcept { return {bytes_.data(), bytes_.size()}; }
    // Always zero-terminated, also for the empty text.
    [[nodiscard]] const char* c_str() const noexcept { return bytes_.c_str(); }
    [[nodiscard]] bool empty() const noexcept { return bytes_.empty(); }
    [[nodiscard]] std::size_t size() const noexcept { return bytes_.size(); }
    [[nodiscard]] std::string to_string() const { return std::string(view()); }

    friend bool operator==(const Text& a, const Text& b) noexcept { return a.view() == b.view(); }
    // Diagnostics (test failures): the bytes in quotes, those outside printable ASCII as \xNN.
    friend void PrintTo(const Text& t, std::ostream* os);

  private:
    Storage bytes_;
};

// The two-byte rule of code page 936: a byte from 0x80 up starts a two-byte character.
[[nodiscard]] constexpr bool is_lead_byte(char c) noexcept {
    return static_cast<unsigned char>(c) >= 0x80;
}

// Case folding of this system: the ASCII letters A to Z only, every other byte as it is.
[[nodiscard]] constexpr char ascii_lower(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

[[nodiscard]] std::int32_t text_byte_length(const Text& t) noexcept;

[[nodiscard]] Text text_join_views(std::initializer_list<std::string_view> pieces);

[[nodiscard]] inline std::string_view text_piece(const Text& t) noexcept {
    return t.view();
}
[[nodiscard]] inline std::string_view text_piece(const char* t) noexcept {
    return t == nullptr ? std::string_view{} : std::string_view{t};
}

// Joins one or more pieces (Text or literal); an absent piece counts as empty.
template <typename... Pieces>
requires(sizeof...(Pieces) >= 1) [[nodiscard]] Text text_join(const Pieces&... pieces) {
    return text_join_views({text_piece(pieces)...});
}

[[nodiscard]] Text text_copy(const Text& t);

// The last n bytes of t; nothing for n <= 0.
[[nodiscard]] Text text_tail(const Text& t, std::int32_t n);

// 1-based position of the last occurrence of s that lies in the first start-1 bytes of t
// (the whole text when start is left out), or -1. Never matches from a trail byte.
[[nodiscard]] std::int32_t text_find_last(const Text& t, const Text& s,
                                          std::optional<std::int32_t> start, bool ignore_case);

// t without its leading spaces and full-width spaces (0xA1 0xA1).
[[nodiscard]] Text text_trim_leading(const Text& t);
// How many bytes of leading spaces and full-width spaces text_trim_leading drops.
[[nodiscard]] std::size_t leading_space_bytes(std::string_view text) noexcept;

// t with the occurrences of s from byte position start on replaced by r, at most count of them
// (left out or negative: all, 0: none). An absent r deletes the occurrences.
[[nodiscard]] Text text_replace(const Text& t, const Text& s, const Text& r,
                                std::optional<std::int32_t> start,
                                std::optional<std::int32_t> count, bool case_sensitive);

}  // namespace proxylist
