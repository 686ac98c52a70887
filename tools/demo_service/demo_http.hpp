// The demo service's HTTP side: listens on 127.0.0.1 only and answers "/get_ip.php".
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace demo {

struct ServiceOptions {
    std::uint16_t port = 8931;
    bool gzip = false;                   // answer with Content-Encoding: gzip
    bool utf8 = false;                   // answer in UTF-8, declared in the Content-Type
    std::chrono::milliseconds delay{0};  // wait this long before answering
};

// The whole answer for one request's target (path and query).
[[nodiscard]] std::string demo_answer(const std::string& target, const ServiceOptions& options);

// Serves until the process is ended; returns only when the port cannot be had (false).
bool run_demo_service(const ServiceOptions& options);

}  // namespace demo
