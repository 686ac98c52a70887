// The demo service's HTTP side, on GNU libmicrohttpd: listens on 127.0.0.1 only and answers
// every GET with demo_reply. Keep-alive, pipelining and large request heads are the library's.
#pragma once

#include <cstdint>

#include "demo_reply.hpp"

struct MHD_Daemon;

namespace demo {

class DemoService {
  public:
    explicit DemoService(ServiceOptions options) : options_(options) {}
    ~DemoService();
    DemoService(const DemoService&) = delete;
    DemoService& operator=(const DemoService&) = delete;

    // Starts serving on options.port (0: any free port) on threads of the library's own;
    // false when the port cannot be had.
    [[nodiscard]] bool start();
    [[nodiscard]] std::uint16_t port() const noexcept { return port_; }
    [[nodiscard]] const ServiceOptions& options() const noexcept { return options_; }

  private:
    ServiceOptions options_;
    MHD_Daemon* daemon_ = nullptr;  // owned; stopped by the destructor
    std::uint16_t port_ = 0;
};

}  // namespace demo
