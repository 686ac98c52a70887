#include "text/text.hpp"

#include <algorithm>
#include <cstring>
#include <ostream>

#include "text/two_byte_walk.hpp"

namespace proxylist {

Text::Text(const char* zero_terminated) {
    if (zero_terminated != nullptr) {
        bytes_.assign(zero_terminated);
    }
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text::Text(Storage&& bytes) : bytes_(std::move(bytes)) {
    const auto zero = bytes_.find('\0');
    if (zero != Storage::npos) {
        bytes_.resize(zero);
    }
}

void PrintTo(const Text& t, std::ostream* os) {
    static constexpr char hex[] = "0123456789ABCDEF";
    *os << '"';
    for (const char c : t.view()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            *os << c;
        } else {
            *os << "\\x" << hex[byte >> 4] << hex[byte & 0x0F];
        }
    }
    *os << '"';
}

std::int32_t text_byte_length(const Text& t) noexcept {
    return static_cast<std::int32_t>(t.size());
}

Text text_join_views(std::initializer_list<std::string_view> pieces) {
    std::size_t total = 0;
    for (const auto piece : pieces) {
        total += piece.size();
    }
    Text::Storage joined;
    joined.reserve(total);
    for (const auto piece : pieces) {
        joined.append(piece);
    }
    return Text(std::move(joined));
}

Text text_copy(const Text& t) {
    return t;
}

Text text_tail(const Text& t, std::int32_t n) {
    if (n <= 0) {
        return {};
    }
    const auto bytes = t.view();
    const auto keep = std::min(bytes.size(), static_cast<std::size_t>(n));
    return Text(bytes.substr(bytes.size() - keep));
}

std::int32_t text_find_last(const Text& t, const Text& s, std::optional<std::int32_t> start,
                            bool ignore_case) {
    const auto text = t.view();
    const auto length = static_cast<std::int64_t>(text.size());
    std::int64_t region = length;
    if (start.has_value()) {
        const std::int64_t n = *start;
        region = n <= 1 ? 0 : std::min(n - 1, length);
    }
    if (s.empty()) {
        return region > 0 ? 1 : -1;
    }
    const auto needle = s.view();
    if (static_cast<std::int64_t>(needle.size()) > region) {
        return -1;
    }
    const auto position = find_last_at_character_start(text.substr(0, region), needle, ignore_case);
    return position == std::string_view::npos ? -1 : static_cast<std::int32_t>(position + 1);
}

std::size_t leading_space_bytes(std::string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
        } else if (text[i] == '\xA1' && i + 1 < text.size() && text[i + 1] == '\xA1') {
            i += 2;
        } else {
            break;
        }
    }
    return i;
}

Text text_trim_leading(const Text& t) {
    return Text(t.view().substr(leading_space_bytes(t.view())));
}

Text text_replace(const Text& t, const Text& s, const Text& r, std::optional<std::int32_t> start,
                  std::optional<std::int32_t> count, bool case_sensitive) {
    const auto text = t.view();
    std::size_t offset = 0;
    if (start.has_value() && *start > 1) {
        offset = static_cast<std::size_t>(*start) - 1;
    }
    // Negative and left-out counts both mean "no limit".
    std::size_t limit = static_cast<std::size_t>(-1);
    if (count.has_value() && *count >= 0) {
        limit = static_cast<std::size_t>(*count);
    }
    if (text.empty() || s.empty() || offset >= text.size() || limit == 0) {
        return t;
    }
    return Text(replace_from(text, offset, s.view(), r.view(), limit, !case_sensitive));
}

}  // namespace proxylist
