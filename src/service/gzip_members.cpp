#include "service/gzip_members.hpp"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

namespace proxylist {
namespace {

constexpr unsigned char flag_header_crc = 0x02;
constexpr unsigned char flag_extra = 0x04;
constexpr unsigned char flag_name = 0x08;
constexpr unsigned char flag_comment = 0x10;
constexpr unsigned char flags_reserved = 0xE0;
constexpr std::size_t fixed_header_size = 10;
constexpr std::size_t trailer_size = 8;
// The whole body at once (as much as zlib takes in one call), and output pieces small enough
// that the CRC of each is taken while the piece is still in cache.
constexpr GzipPieces default_pieces{UINT_MAX, std::size_t{256} * 1024};
// The room asked for at first; it grows with the output, so a small answer costs no large block.
constexpr std::size_t first_output_piece = 4096;

[[nodiscard]] unsigned char byte_at(std::string_view s, std::size_t i) noexcept {
    return static_cast<unsigned char>(s[i]);
}

[[nodiscard]] std::uint32_t little_endian_32(std::string_view s, std::size_t i) noexcept {
    return static_cast<std::uint32_t>(byte_at(s, i)) |
           static_cast<std::uint32_t>(byte_at(s, i + 1)) << 8 |
           static_cast<std::uint32_t>(byte_at(s, i + 2)) << 16 |
           static_cast<std::uint32_t>(byte_at(s, i + 3)) << 24;
}

[[nodiscard]] bool starts_with_magic(std::string_view s) noexcept {
    return s.size() >= 2 && byte_at(s, 0) == 0x1F && byte_at(s, 1) == 0x8B;
}

// Offset of the deflate data after the member header at the start of member, or nothing when
// the header is corrupt or cut off.
std::optional<std::size_t> deflate_data_offset(std::string_view member) {
    if (member.size() < fixed_header_size) {
        return std::nullopt;
    }
    const unsigned char method = byte_at(member, 2);
    const unsigned char flags = byte_at(member, 3);
    if (method != 8 || (flags & flags_reserved) != 0) {
        return std::nullopt;
    }
    std::size_t at = fixed_header_size;  // magic, method, flags, time, extra flags, system
    if ((flags & flag_extra) != 0) {
        if (member.size() < at + 2) {
            return std::nullopt;
        }
        at += 2 + (byte_at(member, at) | std::size_t{byte_at(member, at + 1)} << 8);
    }
    for (const unsigned char zero_terminated : {flag_name, flag_comment}) {
        if ((flags & zero_terminated) != 0 && at <= member.size()) {
            const std::size_t zero = member.find('\0', at);
            if (zero == std::string_view::npos) {
                return std::nullopt;
            }
            at = zero + 1;
        }
    }
    if ((flags & flag_header_crc) != 0) {
        at += 2;
    }
    if (at > member.size()) {
        return std::nullopt;
    }
    return at;
}

class RawInflater {
  public:
    RawInflater() { ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~RawInflater() {
        if (ready_) {
            inflateEnd(&stream_);
        }
    }
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    [[nodiscard]] bool ready() const noexcept { return ready_; }
    [[nodiscard]] z_stream& stream() noexcept { return stream_; }
    void reset() noexcept { inflateReset(&stream_); }

  private:
    z_stream stream_{};
    bool ready_ = false;
};

// Output under construction: the string grows ahead of what has been written, so that the
// inflater can write straight into it.
class Output {
  public:
    explicit Output(std::size_t limit) : limit_(limit) {}

    [[nodiscard]] std::size_t size() const noexcept { return filled_; }
    [[nodiscard]] std::size_t room_left() const noexcept { return limit_ - filled_; }

    // Space for up to want more bytes (fewer near the limit), starting at the returned address.
    char* make_room(std::size_t want) {
        want = std::min(want, room_left());
        if (bytes_.size() - filled_ < want) {
            bytes_.resize(std::min(limit_, std::max(filled_ + want, bytes_.size() * 2)));
        }
        return bytes_.data() + filled_;
    }
    void commit(std::size_t n) noexcept { filled_ += n; }
    void append(std::string_view s) {
        const std::size_t n = std::min(s.size(), room_left());
        std::copy_n(s.data(), n, make_room(n));
        commit(n);
    }
    std::string finish() && {
        bytes_.resize(filled_);
        return std::move(bytes_);
    }

  private:
    std::string bytes_;
    std::size_t filled_ = 0;
    std::size_t limit_;
};

struct MemberData {
    std::size_t consumed = 0;  // bytes of deflate data read
    std::uint32_t crc = 0;     // CRC-32 of the member's output
    bool complete = false;     // the deflate stream reached its end
};

MemberData inflate_member(RawInflater& inflater, std::string_view data, Output& out,
                          GzipPieces pieces) {
    z_stream& z = inflater.stream();
    z.avail_in = 0;  // the reset leaves the last member's input in place
    MemberData member;
    member.crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
    std::size_t fed = 0;
    for (;;) {
        if (z.avail_in == 0 && fed < data.size()) {
            const std::size_t piece = std::min(data.size() - fed, pieces.input);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + fed));
            z.avail_in = static_cast<uInt>(piece);
            fed += piece;
        }
        if (out.room_left() == 0) {
            break;  // the output limit: the rest of the body is dropped
        }
        const std::size_t piece = std::min(pieces.output, std::max(first_output_piece, out.size()));
        char* const target = out.make_room(piece);
        const std::size_t room = std::min(piece, out.room_left());
        z.next_out = reinterpret_cast<Bytef*>(target);
        z.avail_out = static_cast<uInt>(room);
        const int status = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = room - z.avail_out;
        member.crc = static_cast<std::uint32_t>(
            crc32(member.crc, reinterpret_cast<const Bytef*>(target), static_cast<uInt>(produced)));
        out.commit(produced);
        if (status == Z_STREAM_END) {
            member.complete = true;
            break;
        }
        const bool input_used_up = z.avail_in == 0 && fed == data.size();
        // Anything but progress (Z_BUF_ERROR included: with fresh room, no input is left) is
        // corrupt data or the body ending inside the member.
        if (status != Z_OK || (input_used_up && z.avail_out != 0)) {
            break;
        }
    }
    member.consumed = fed - z.avail_in;
    return member;
}

}  // namespace

std::string unpack_gzip_members(std::string_view body, std::size_t max_output) {
    return unpack_gzip_members(body, max_output, default_pieces);
}

std::string unpack_gzip_members(std::string_view body, std::size_t max_output, GzipPieces pieces) {
    pieces.input = std::clamp<std::size_t>(pieces.input, 1, UINT_MAX);
    pieces.output = std::clamp<std::size_t>(pieces.output, 1, UINT_MAX);
    Output out(max_output);
    std::optional<RawInflater> inflater;
    std::string_view rest = body;
    while (!rest.empty()) {
        if (!starts_with_magic(rest)) {
            out.append(rest);
            break;
        }
        const std::optional<std::size_t> data_offset = deflate_data_offset(rest);
        if (!data_offset) {
            break;
        }
        if (inflater) {
            inflater->reset();
        } else {
            inflater.emplace();
        }
        if (!inflater->ready()) {
            break;
        }
        const std::string_view data = rest.substr(*data_offset);
        const MemberData member = inflate_member(*inflater, data, out, pieces);
        if (!member.complete || data.size() - member.consumed < trailer_size ||
            little_endian_32(data, member.consumed) != member.crc) {
            break;
        }
        rest = data.substr(member.consumed + trailer_size);  // the length field is not checked
    }
    return std::move(out).finish();
}

}  // namespace proxylist
