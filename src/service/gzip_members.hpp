// Unpacks a body sent with the gzip content coding: a run of gzip members (RFC 1952).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace proxylist {

// The members' output joined. Where the body does not start with the gzip magic (at its start
// or right after a member) the rest is copied unchanged. A bad header (method other than 8,
// reserved flag bits), corrupt or cut-off data, or a CRC-32 mismatch stops the reader; what
// was inflated before the fault, the faulty member's output included, is kept. Output beyond
// max_output is dropped, as if the body had been cut off there.
[[nodiscard]] std::string unpack_gzip_members(std::string_view body, std::size_t max_output);

// How much the inflater is handed and may write at a time. Where the body and the output are
// cut into pieces has no bearing on the result; the fuzz target of the reader holds it to that.
struct GzipPieces {
    std::size_t input;
    std::size_t output;
};

// The same, with the inflater fed and drained in pieces of these sizes (each at least 1).
[[nodiscard]] std::string unpack_gzip_members(std::string_view body, std::size_t max_output,
                                              GzipPieces pieces);

}  // namespace proxylist
