#include <stdlib.h>

#include <array>
#include <optional>
#include <string>

#include "system_proxy.hpp"

namespace proxylist::test_support {
namespace {

constexpr std::array<const char*, 8> proxy_variables{"http_proxy",  "HTTP_PROXY", "https_proxy",
                                                     "HTTPS_PROXY", "all_proxy",  "ALL_PROXY",
                                                     "no_proxy",    "NO_PROXY"};

}  // namespace

struct SystemProxy::Saved {
    std::array<std::optional<std::string>, proxy_variables.size()> values;
};

SystemProxy::SystemProxy() : saved_(std::make_unique<Saved>()) {
    for (std::size_t i = 0; i < proxy_variables.size(); ++i) {
        if (const char* value = getenv(proxy_variables[i])) {
            saved_->values[i] = value;
        }
        unsetenv(proxy_variables[i]);
    }
}

SystemProxy::SystemProxy(std::string_view host_and_port, std::string_view bypass) : SystemProxy() {
    setenv("http_proxy", ("http://" + std::string(host_and_port)).c_str(), 1);
    if (!bypass.empty()) {
        setenv("no_proxy", std::string(bypass).c_str(), 1);
    }
}

SystemProxy::~SystemProxy() {
    for (std::size_t i = 0; i < proxy_variables.size(); ++i) {
        if (saved_->values[i]) {
            setenv(proxy_variables[i], saved_->values[i]->c_str(), 1);
        } else {
            unsetenv(proxy_variables[i]);
        }
    }
}

}  // namespace proxylist::test_support
