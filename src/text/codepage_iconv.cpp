#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <stdexcept>

#include "text/codepage.hpp"
#include "text/codepage_tables.hpp"

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

void append_cp936_of_valid_utf8(std::string_view utf8, Text::Storage& out) {
    out.append(convert<Text::Storage>("CP936", "UTF-8", utf8, [](std::string_view rest) {
        // The input is valid: what iconv refuses is a whole character that 936 lacks.
        const auto lead = static_cast<unsigned char>(rest[0]);
        return lead < 0x80 ? std::size_t{1} : lead < 0xE0 ? std::size_t{2} : std::size_t{3};
    }));
}

std::string utf8_from_cp936(std::string_view cp936) {
    return convert<std::string>("UTF-8", "CP936", cp936, [](std::string_view rest) {
        return (is_lead_byte(rest[0]) && rest.size() >= 2) ? std::size_t{2} : std::size_t{1};
    });
}

}  // namespace proxylist
