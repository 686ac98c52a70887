#include "service/list_page_pass.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

namespace proxylist {
namespace {

// Index (0 to 7) of the first byte of the eight that is CR, '<' or a lead byte, or 8 when all
// are plain one-byte characters that the pass copies unchanged.
std::size_t first_special_byte(const char* p) noexcept {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::big) {
        w = __builtin_bswap64(w);
    }
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    // Exact for the lowest flagged byte, which is the only one looked at.
    const auto zero_bytes = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
    const std::uint64_t special =
        (w & highs) | zero_bytes(w ^ (ones * '\r')) | zero_bytes(w ^ (ones * '<'));
    return special == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(special)) / 8;
}

// Collects the output in a small buffer so that the result grows by large appends.
class Output {
  public:
    explicit Output(std::size_t capacity) { text_.reserve(capacity); }
    void put(const char* p, std::size_t n) {
        if (used_ + n > sizeof buffer_) {
            flush();
            if (n > sizeof buffer_) {
                text_.append(p, n);
                return;
            }
        }
        std::memcpy(buffer_ + used_, p, n);
        used_ += n;
    }
    Text finish() {
        flush();
        return Text(std::move(text_));
    }

  private:
    void flush() {
        text_.append(buffer_, used_);
        used_ = 0;
    }
    Text::Storage text_;
    char buffer_[16384];
    std::size_t used_ = 0;
};

}  // namespace

Text delete_crlf_then_break_tags_to_crlf(std::string_view list) {
    const char* const t = list.data();
    const std::size_t n = list.size();
    Output out(n);      // both steps only shorten the text
    std::size_t k = 0;  // always a character start
    while (k < n) {
        std::size_t plain = k;
        while (plain + 8 <= n) {
            const std::size_t skip = first_special_byte(t + plain);
            plain += skip;
            if (skip < 8) {
                break;
            }
        }
        if (plain != k) {
            out.put(t + k, plain - k);
            k = plain;
            continue;
        }
        const char c = t[k];
        if (is_lead_byte(c)) {
            const std::size_t width = k + 1 < n ? 2 : 1;
            out.put(t + k, width);
            k += width;
        } else if (c == '\r' && k + 1 < n && t[k + 1] == '\n') {
            k += 2;
        } else if (c == '<') {
            // Match "br>" after it, stepping over CR LF pairs the first step deletes.
            std::size_t j = k + 1;
            bool matched = true;
            for (const char wanted : {'b', 'r', '>'}) {
                while (j + 1 < n && t[j] == '\r' && t[j + 1] == '\n') {
                    j += 2;
                }
                if (j >= n || ascii_lower(t[j]) != wanted) {
                    matched = false;
                    break;
                }
                ++j;
            }
            if (matched) {
                out.put("\r\n", 2);
                k = j;
            } else {
                out.put(t + k, 1);
                ++k;
            }
        } else {
            out.put(t + k, 1);
            ++k;
        }
    }
    return out.finish();
}

}  // namespace proxylist
