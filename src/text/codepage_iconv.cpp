#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <stdexcept>

#include "text/codepage.hpp"

namespace proxylist {
namespace {

class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            // glibc always ships these converters; without them nothing here can work.
            throw std::runtime_error("iconv converter missing");
        }
    }
    ~IconvHandle() { iconv_close(handle_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    [[nodiscard]] iconv_t get() const noexcept { return handle_; }

  private:
    iconv_t handle_;
};

// Length of the valid UTF-8 sequence at the start of s, or 0 when it is not one.
std::size_t valid_utf8_sequence_length(std::string_view s) noexcept {
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t n = 0;
    char32_t min = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        n = 2, min = 0x80, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3, min = 0x800, cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() < n) {
        return 0;
    }
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return (cp < min || cp > 0x10FFFF || surrogate) ? 0 : n;
}

// Converts with iconv; at each sequence iconv refuses, skip(rest) says how many input bytes
// to drop, and a "?" takes their place.
template <typename Output, typename Skip>
Output convert(const char* to, const char* from, std::string_view in, Skip skip) {
    IconvHandle cd(to, from);
    Output out;
    out.reserve(in.size() + in.size() / 2);
    char buffer[16384];
    auto* src = const_cast<char*>(in.data());  // iconv's signature; it does not write there
    std::size_t src_left = in.size();
    while (src_left > 0) {
        char* dst = buffer;
        std::size_t dst_left = sizeof buffer;
        const std::size_t rc = iconv(cd.get(), &src, &src_left, &dst, &dst_left);
        out.append(buffer, sizeof buffer - dst_left);
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) {
            continue;
        }
        // EILSEQ (no such character, or not valid input) or EINVAL (cut-off sequence).
        const std::size_t drop = std::min(src_left, skip(std::string_view(src, src_left)));
        src += drop;
        src_left -= drop;
        out.push_back('?');
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace

Text cp936_from_utf8(std::string_view utf8) {
    const std::string_view until_zero = utf8.substr(0, utf8.find('\0'));
    return Text(convert<Text::Storage>("CP936", "UTF-8", until_zero, [](std::string_view rest) {
        const std::size_t valid = valid_utf8_sequence_length(rest);
        return valid == 0 ? std::size_t{1} : valid;  // unmappable: the whole character goes
    }));
}

std::string utf8_from_cp936(std::string_view cp936) {
    return convert<std::string>("UTF-8", "CP936", cp936, [](std::string_view rest) {
        return (is_lead_byte(rest[0]) && rest.size() >= 2) ? std::size_t{2} : std::size_t{1};
    });
}

}  // namespace proxylist
