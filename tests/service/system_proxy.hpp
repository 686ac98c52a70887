// The platform's proxy configuration, as an exchange finds it, set for the life of one object and
// restored afterwards: on Linux the environment variables libcurl reads, on Windows the Internet
// settings of the current user.
#pragma once

#include <memory>
#include <string_view>

namespace proxylist::test_support {

class SystemProxy {
  public:
    // No proxy at all: a developer's own settings take no part.
    SystemProxy();
    // Plain http goes through the proxy at host_and_port ("127.0.0.1:8080"), except to the hosts
    // listed in bypass (one host, or none when empty).
    SystemProxy(std::string_view host_and_port, std::string_view bypass);
    ~SystemProxy();
    SystemProxy(const SystemProxy&) = delete;
    SystemProxy& operator=(const SystemProxy&) = delete;

  private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

}  // namespace proxylist::test_support
