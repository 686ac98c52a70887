// The HTTP exchange with WinINet, in blocking calls on the exchange thread. WinINet's own
// redirects, cookies and cache writes stay off: follow_redirects() makes one request per hop,
// so that the chain and every request line are the same as with any other client.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>

#include "service/http_exchange.hpp"
#include "service/redirects.hpp"

namespace proxylist {
namespace {

// What InternetCanonicalizeUrlA writes into first; a longer URL gets the room it asks for.
constexpr DWORD first_canonical_room = 2084;

// The handles of one exchange. A stop request closes them from another thread, which is how
// WinINet lets a blocking call be cut short (Wine's WinINet lets the call run on to its own
// end); each handle is closed exactly once, by whichever thread comes first, and none is taken
// any more once the exchange has been stopped. (A call about to start as the stop comes gets
// the closed handle and fails.)
class ExchangeHandles {
  public:
    enum Level : std::size_t { session, connection, request };

    ExchangeHandles() = default;
    ~ExchangeHandles() { close_all(); }
    ExchangeHandles(const ExchangeHandles&) = delete;
    ExchangeHandles& operator=(const ExchangeHandles&) = delete;

    // Puts handle in level's place; false, with handle closed, when it is null or the exchange
    // has been stopped.
    bool keep(Level level, HINTERNET handle) {
        if (handle == nullptr) {
            return false;
        }
        const std::lock_guard lock(mutex_);
        if (stopped_) {
            ::InternetCloseHandle(handle);
            return false;
        }
        close_locked(level);
        handles_[level] = handle;
        return true;
    }

    // The handle in level's place; null when there is none or it has been closed.
    [[nodiscard]] HINTERNET get(Level level) const {
        const std::lock_guard lock(mutex_);
        return handles_[level];
    }

    void close(Level level) {
        const std::lock_guard lock(mutex_);
        close_locked(level);
    }

    // The request first, then the connection, then the session; nothing is taken afterwards.
    void close_all() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        close_locked(request);
        close_locked(connection);
        close_locked(session);
    }

  private:
    void close_locked(Level level) {
        if (handles_[level] != nullptr) {
            ::InternetCloseHandle(handles_[level]);
            handles_[level] = nullptr;
        }
    }

    mutable std::mutex mutex_;
    std::array<HINTERNET, 3> handles_{};
    bool stopped_ = false;
};

// Closes the request and the connection of one hop when it is done.
class HopHandles {
  public:
    explicit HopHandles(ExchangeHandles& handles) : handles_(handles) {}
    ~HopHandles() {
        handles_.close(ExchangeHandles::request);
        handles_.close(ExchangeHandles::connection);
    }
    HopHandles(const HopHandles&) = delete;
    HopHandles& operator=(const HopHandles&) = delete;

  private:
    ExchangeHandles& handles_;
};

DWORD milliseconds(std::chrono::milliseconds d) {
    // 0 would mean no time-out at all; the longest finite one caps what is longer.
    const auto count = std::clamp<std::chrono::milliseconds::rep>(d.count(), 1, 0xFFFFFFFE);
    return static_cast<DWORD>(count);
}

// Set on the session, they hold for every connection and request made from it. (Wine's WinINet
// keeps only the connect time-out there.)
bool set_timeouts(HINTERNET session, const HttpTimeouts& timeouts) {
    const std::array<std::pair<DWORD, std::chrono::milliseconds>, 3> options{{
        {INTERNET_OPTION_CONNECT_TIMEOUT, timeouts.connect},
        {INTERNET_OPTION_SEND_TIMEOUT, timeouts.send},
        {INTERNET_OPTION_RECEIVE_TIMEOUT, timeouts.receive},
    }};
    for (const auto& [option, duration] : options) {
        DWORD value = milliseconds(duration);
        if (!::InternetSetOptionA(session, option, &value, sizeof value)) {
            return false;
        }
    }
    return true;
}

// The URL as WinINet's canonicalisation writes it. canonical_url() has escaped it already;
// this is the platform's own pass over it.
std::optional<std::string> canonicalize(const std::string& url) {
    std::string out(first_canonical_room, '\0');
    DWORD size = first_canonical_room;
    if (!::InternetCanonicalizeUrlA(url.c_str(), out.data(), &size, 0)) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return std::nullopt;
        }
        out.assign(size, '\0');
        if (!::InternetCanonicalizeUrlA(url.c_str(), out.data(), &size, 0)) {
            return std::nullopt;
        }
    }
    out.resize(size);
    return out;
}

struct UrlParts {
    bool secure = false;
    INTERNET_PORT port = 0;
    std::string host;
    std::string target;  // path and query
    std::string user;
    std::string password;
};

int hex_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// A user name or password stands escaped in the URL; the server is to see what it means.
std::string percent_decoded(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hex_value(s[i + 1]) >= 0 &&
            hex_value(s[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex_value(s[i + 1]) * 16 + hex_value(s[i + 2])));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

// Split into buffers with the room the contract gives each part (a terminator besides); a part
// that does not fit fails the split.
std::optional<UrlParts> crack(const std::string& url) {
    std::array<char, max_url_host_bytes + 1> host{};
    std::array<char, max_url_target_bytes + 1> path{};
    std::array<char, max_url_credential_bytes + 1> user{};
    std::array<char, max_url_credential_bytes + 1> password{};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszUserName = user.data();
    parts.dwUserNameLength = static_cast<DWORD>(user.size());
    parts.lpszPassword = password.data();
    parts.dwPasswordLength = static_cast<DWORD>(password.size());
    if (!::InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        return std::nullopt;
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        return std::nullopt;
    }
    UrlParts split;
    split.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    split.port = parts.nPort;
    split.host.assign(host.data(), parts.dwHostNameLength);
    split.target.assign(path.data(), parts.dwUrlPathLength);
    split.user = percent_decoded(std::string_view(user.data(), parts.dwUserNameLength));
    split.password = percent_decoded(std::string_view(password.data(), parts.dwPasswordLength));
    if (split.host.empty()) {
        return std::nullopt;
    }
    // "http://host?query" has no path; the request line needs one.
    if (!split.target.starts_with('/')) {
        split.target.insert(0, 1, '/');
        if (split.target.size() > max_url_target_bytes) {
            return std::nullopt;
        }
    }
    return split;
}

DWORD request_flags(bool secure) {
    // The chain is followed hop by hop below, and neither cookies nor cached copies take part,
    // so that each request is exactly the request line, the caller's lines and the host line.
    DWORD flags = INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS |
                  INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_NO_AUTO_REDIRECT |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_CACHE_WRITE;
    if (secure) {
        flags |= INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
                 INTERNET_FLAG_IGNORE_CERT_CN_INVALID;
    }
    return flags;
}

[[nodiscard]] std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// The value of the first header line of that kind, white space around it dropped; empty when
// the answer has none.
std::string header_value(HINTERNET request, DWORD kind) {
    DWORD size = 0;
    if (::HttpQueryInfoA(request, kind, nullptr, &size, nullptr) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return {};
    }
    std::string value(size, '\0');
    if (!::HttpQueryInfoA(request, kind, value.data(), &size, nullptr)) {
        return {};
    }
    // A length beyond the buffer cannot be true (Wine's WinINet has been seen to give 2^32 - 1
    // for a value with two-byte characters); what the buffer holds is all there is.
    value.resize(std::min<std::size_t>(size, value.size()));
    value.resize(std::min(value.size(), value.find('\0')));
    return std::string(trimmed(value));
}

int status_code(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                          nullptr)) {
        return 0;
    }
    return static_cast<int>(status);
}

// Reads until a read delivers nothing: at the end of the body, at a failure (the bytes read
// stay) or at the limit (the rest is dropped). A blocking read waits for all the bytes it asks
// for and fails whole when the connection does, so each read asks only for what has arrived:
// the bytes before a reset or a stall are kept.
void read_body(const ExchangeHandles& handles, std::size_t limit, std::string& body) {
    std::array<char, 1024> piece;
    while (body.size() < limit) {
        const HINTERNET request = handles.get(ExchangeHandles::request);
        DWORD arrived = 0;
        if (request == nullptr || !::InternetQueryDataAvailable(request, &arrived, 0, 0) ||
            arrived == 0) {
            return;
        }
        const auto wanted =
            static_cast<DWORD>(std::min<std::size_t>({arrived, piece.size(), limit - body.size()}));
        DWORD got = 0;
        if (!::InternetReadFile(request, piece.data(), wanted, &got) || got == 0) {
            return;
        }
        body.append(piece.data(), got);
    }
}

// One request of the chain, to url, on the session that handles hold.
std::optional<HopAnswer> send_one(ExchangeHandles& handles, const std::string& url,
                                  const HttpRequest& request) {
    const std::optional<std::string> canonical = canonicalize(url);
    if (!canonical) {
        return std::nullopt;
    }
    const std::optional<UrlParts> parts = crack(*canonical);
    if (!parts) {
        return std::nullopt;
    }
    const HopHandles hop_handles(handles);
    const HINTERNET connection = ::InternetConnectA(
        handles.get(ExchangeHandles::session), parts->host.c_str(), parts->port,
        parts->user.empty() ? nullptr : parts->user.c_str(),
        parts->password.empty() ? nullptr : parts->password.c_str(), INTERNET_SERVICE_HTTP, 0, 0);
    if (!handles.keep(ExchangeHandles::connection, connection)) {
        return std::nullopt;
    }
    const HINTERNET opened =
        ::HttpOpenRequestA(connection, "GET", parts->target.c_str(), "HTTP/1.1", nullptr, nullptr,
                           request_flags(parts->secure), 0);
    if (!handles.keep(ExchangeHandles::request, opened)) {
        return std::nullopt;
    }
    const std::string& block = request.header_block;
    if (!::HttpSendRequestA(handles.get(ExchangeHandles::request),
                            block.empty() ? nullptr : block.c_str(),
                            static_cast<DWORD>(block.size()), nullptr, 0)) {
        return std::nullopt;
    }
    HopAnswer hop;
    hop.status = status_code(opened);
    hop.location = header_value(opened, HTTP_QUERY_LOCATION);
    // A redirect's body is not read: the next hop follows at once.
    if (is_followed_redirect(hop.status, hop.location)) {
        return hop;
    }
    hop.answer.content_type = header_value(opened, HTTP_QUERY_CONTENT_TYPE);
    hop.answer.coding = content_coding_kind(header_value(opened, HTTP_QUERY_CONTENT_ENCODING));
    read_body(handles, request.max_body_bytes, hop.answer.body);
    return hop;
}

std::optional<HttpAnswer> exchange_with_wininet(const HttpRequest& request,
                                                const std::stop_token& stop) {
    ExchangeHandles handles;
    const std::stop_callback close_on_stop(stop, [&handles] { handles.close_all(); });
    // No agent name: the user agent travels in the header block.
    if (!handles.keep(
            ExchangeHandles::session,
            ::InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) ||
        !set_timeouts(handles.get(ExchangeHandles::session), request.timeouts)) {
        return std::nullopt;
    }
    std::optional<HttpAnswer> answer =
        follow_redirects(request.canonical_url,
                         [&](const std::string& url) { return send_one(handles, url, request); });
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    return answer;
}

}  // namespace

std::optional<HttpAnswer> http_exchange(const HttpRequest& request, std::stop_token stop) noexcept {
    try {
        return exchange_with_wininet(request, stop);
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace proxylist
