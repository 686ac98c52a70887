// What the demo service answers to one request target, apart from how it travels.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "query_string.hpp"

namespace demo {

struct ServiceOptions {
    std::uint16_t port = 8931;
    bool gzip = false;                   // answer with Content-Encoding: gzip
    bool utf8 = false;                   // answer in UTF-8, declared in the Content-Type
    std::chrono::milliseconds delay{0};  // wait this long before answering
};

struct DemoReply {
    int status;
    std::string content_type;
    std::string body;  // not yet packed; `gzip` says whether it goes out gzip-coded
    bool gzip;
};

// The reply to a request for `path` with the query's values: the list page for
// "/get_ip.php", 404 for anything else.
[[nodiscard]] DemoReply demo_reply(std::string_view path, const QueryValues& query,
                                   const ServiceOptions& options);

// The body as one gzip member.
[[nodiscard]] std::string gzip_member(const std::string& bytes);

// The whole answer to a request target (path and query) as bytes on the wire: status line,
// headers, body packed where asked. For the tests and benchmarks that answer through a
// scripted server.
[[nodiscard]] std::string demo_answer(std::string_view target, const ServiceOptions& options);

}  // namespace demo
