// The HTTP exchange with WinINet. (Being built: no exchange yet.)
#include <windows.h>
#include <wininet.h>

#include "service/http_exchange.hpp"

namespace proxylist {

std::optional<HttpAnswer> http_exchange(const HttpRequest&, std::stop_token) noexcept {
    return std::nullopt;
}

}  // namespace proxylist
