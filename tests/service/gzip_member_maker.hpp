// Builds gzip members byte by byte for tests, with every header field and fault under control.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace proxylist::test_support {

struct MemberShape {
    unsigned char method = 8;
    unsigned char flags = 0;
    std::string extra{};                 // written with flag 0x04
    std::string name{};                  // written with flag 0x08
    std::string comment{};               // written with flag 0x10
    int level = Z_DEFAULT_COMPRESSION;   // 0 writes stored blocks: output follows input exactly
    std::optional<std::uint32_t> crc{};  // a wrong one on purpose
};

inline void put_le32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

inline std::string raw_deflate(std::string_view payload, int level) {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, payload.size()) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(payload.data()));
    z.avail_in = static_cast<uInt>(payload.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

inline std::string gzip_header(const MemberShape& shape) {
    std::string out = "\x1F\x8B";
    out.push_back(static_cast<char>(shape.method));
    out.push_back(static_cast<char>(shape.flags));
    out.append(std::string(4, '\x01'));  // time: no zero byte, so a raw body is not cut short
    out.append("\x02\x03");              // extra flags, system
    if ((shape.flags & 0x04) != 0) {
        out.push_back(static_cast<char>(shape.extra.size() & 0xFF));
        out.push_back(static_cast<char>(shape.extra.size() >> 8));
        out.append(shape.extra);
    }
    if ((shape.flags & 0x08) != 0) {
        out.append(shape.name);
        out.push_back('\0');
    }
    if ((shape.flags & 0x10) != 0) {
        out.append(shape.comment);
        out.push_back('\0');
    }
    if ((shape.flags & 0x02) != 0) {
        out.append("\x55\xAA");
    }
    return out;
}

inline std::string gzip_member(std::string_view payload, const MemberShape& shape = {}) {
    std::string out = gzip_header(shape);
    out.append(raw_deflate(payload, shape.level));
    const auto crc = static_cast<std::uint32_t>(crc32(
        0L, reinterpret_cast<const Bytef*>(payload.data()), static_cast<uInt>(payload.size())));
    put_le32(out, shape.crc.value_or(crc));
    put_le32(out, static_cast<std::uint32_t>(payload.size()));
    return out;
}

}  // namespace proxylist::test_support
