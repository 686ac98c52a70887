// The HTTP exchange with libcurl. The transfer runs in a multi-handle loop of our own so that a
// stop request and the receive time-out (in milliseconds, not curl's whole seconds) are seen
// promptly. Redirects are followed by follow_redirects(), one transfer per request, not by curl.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/x509_vfy.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "service/curl_library.hpp"
#include "service/http_exchange.hpp"
#include "service/redirects.hpp"
#include "text/text.hpp"

namespace proxylist {
namespace {

using Clock = std::chrono::steady_clock;

// How long one wait of the transfer loop may last while no time-out is near.
constexpr std::chrono::milliseconds max_poll_wait{1000};

bool curl_ready() {
    return curl_library() != nullptr;
}

// Only reached once curl_ready() has said yes.
const CurlLibrary& libcurl() {
    return *curl_library();
}

struct CurlUrlFree {
    void operator()(CURLU* u) const noexcept { libcurl().url_cleanup(u); }
};
struct CurlEasyFree {
    void operator()(CURL* e) const noexcept { libcurl().easy_cleanup(e); }
};
struct CurlMultiFree {
    void operator()(CURLM* m) const noexcept { libcurl().multi_cleanup(m); }
};
struct CurlSlistFree {
    void operator()(curl_slist* l) const noexcept { libcurl().slist_free_all(l); }
};
struct CurlStringFree {
    void operator()(char* s) const noexcept { libcurl().free(s); }
};
using CurlUrl = std::unique_ptr<CURLU, CurlUrlFree>;
using CurlEasy = std::unique_ptr<CURL, CurlEasyFree>;
using CurlMulti = std::unique_ptr<CURLM, CurlMultiFree>;
using CurlSlist = std::unique_ptr<curl_slist, CurlSlistFree>;
using CurlString = std::unique_ptr<char, CurlStringFree>;

// One part of a parsed URL; empty when the URL has none.
std::string url_part(CURLU* url, CURLUPart part, unsigned int flags = 0) {
    char* value = nullptr;
    if (libcurl().url_get(url, part, &value, flags) != CURLUE_OK) {
        return {};
    }
    const CurlString owned(value);
    return value == nullptr ? std::string{} : std::string(value);
}

struct UrlParts {
    std::string scheme;
    std::string host;
    std::string port;
    std::string user;
    std::string password;
    std::string target;  // path and query
};

UrlParts split_url(CURLU* url) {
    UrlParts parts;
    parts.scheme = url_part(url, CURLUPART_SCHEME);
    parts.host = url_part(url, CURLUPART_HOST);
    parts.port = url_part(url, CURLUPART_PORT, CURLU_DEFAULT_PORT);
    parts.user = url_part(url, CURLUPART_USER, CURLU_URLDECODE);
    parts.password = url_part(url, CURLUPART_PASSWORD, CURLU_URLDECODE);
    parts.target = url_part(url, CURLUPART_PATH);
    const std::string query = url_part(url, CURLUPART_QUERY);
    if (!query.empty()) {
        parts.target += '?' + query;
    }
    return parts;
}

bool parts_fit(const UrlParts& parts) {
    return (parts.scheme == "http" || parts.scheme == "https") && !parts.host.empty() &&
           parts.host.size() <= max_url_host_bytes && parts.target.size() <= max_url_target_bytes &&
           parts.user.size() <= max_url_credential_bytes &&
           parts.password.size() <= max_url_credential_bytes;
}

CurlSlist header_list(std::string_view block) {
    CurlSlist list;
    while (!block.empty()) {
        const std::size_t end = block.find("\r\n");
        const std::string line(block.substr(0, end));
        block.remove_prefix(end == std::string_view::npos ? block.size() : end + 2);
        if (line.empty()) {
            continue;
        }
        curl_slist* longer = libcurl().slist_append(list.get(), line.c_str());
        if (longer == nullptr) {
            return {};
        }
        static_cast<void>(list.release());
        list.reset(longer);
    }
    return list;
}

[[nodiscard]] bool starts_with_ignoring_case(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), s.begin(),
                      [](char a, char b) { return ascii_lower(a) == ascii_lower(b); });
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

// What the callbacks learn of the answer in progress. Each response head (an interim one's too)
// starts it afresh, so at the end it describes the last answer.
class Transfer {
  public:
    Transfer(CURL* easy, const HttpRequest& request) : easy_(easy), request_(request) {}

    // False when the transfer is to end here.
    bool on_header_line(std::string_view line) {
        note_incoming();
        if (line.starts_with("HTTP/")) {
            hop_ = {};
            content_type_seen_ = false;
            encoding_seen_ = false;
            location_seen_ = false;
            head_done_ = false;
            return true;
        }
        if (trimmed(line).empty()) {
            long status = 0;
            libcurl().easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
            hop_.status = static_cast<int>(status);
            // An interim answer (1xx) is followed by the real one.
            head_done_ = status >= 200;
            // A redirect's body is not read: the transfer ends here and the next one follows.
            return !(head_done_ && is_followed_redirect(hop_.status, hop_.location));
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            return true;
        }
        const std::string_view name = line.substr(0, colon + 1);
        const std::string_view value = trimmed(line.substr(colon + 1));
        // The first of repeated lines counts, as a client asked for "the" header gives it.
        if (starts_with_ignoring_case(name, "Content-Type:") && !content_type_seen_) {
            content_type_seen_ = true;
            hop_.answer.content_type = value;
        } else if (starts_with_ignoring_case(name, "Content-Encoding:") && !encoding_seen_) {
            encoding_seen_ = true;
            hop_.answer.coding = content_coding_kind(value);
        } else if (starts_with_ignoring_case(name, "Location:") && !location_seen_) {
            location_seen_ = true;
            hop_.location = value;
        }
        return true;
    }

    // False when the body has reached its limit: the rest is dropped.
    bool on_body(std::string_view bytes) {
        note_incoming();
        std::string& body = hop_.answer.body;
        const std::size_t room = request_.max_body_bytes - body.size();
        body.append(bytes.substr(0, room));
        return bytes.size() <= room;
    }

    // A new connection is being made: the connect time-out governs until the request goes out.
    void on_new_socket() { awaiting_answer_ = false; }
    // The request is about to go out on a ready connection.
    void on_request_start() {
        awaiting_answer_ = true;
        last_byte_ = Clock::now();
    }

    // Time left before the receive time-out, or nothing while it does not apply.
    [[nodiscard]] std::optional<Clock::duration> receive_time_left() const {
        if (!awaiting_answer_) {
            return std::nullopt;
        }
        return last_byte_ + request_.timeouts.receive - Clock::now();
    }

    // Whether an answer arrived: its head did, whether or not the body came whole.
    [[nodiscard]] bool has_answer() const noexcept { return head_done_; }
    [[nodiscard]] HopAnswer take_answer() { return std::move(hop_); }

  private:
    void note_incoming() { last_byte_ = Clock::now(); }

    CURL* easy_;
    const HttpRequest& request_;
    HopAnswer hop_;
    bool content_type_seen_ = false;
    bool encoding_seen_ = false;
    bool location_seen_ = false;
    bool head_done_ = false;
    bool awaiting_answer_ = false;
    Clock::time_point last_byte_ = Clock::now();
};

std::size_t on_header_data(char* data, std::size_t size, std::size_t count, void* transfer) {
    const bool go_on =
        static_cast<Transfer*>(transfer)->on_header_line(std::string_view(data, size * count));
    return go_on ? size * count : 0;
}

std::size_t on_body_data(char* data, std::size_t size, std::size_t count, void* transfer) {
    const bool room_left =
        static_cast<Transfer*>(transfer)->on_body(std::string_view(data, size * count));
    return room_left ? size * count : CURL_WRITEFUNC_ERROR;
}

int on_request_start(void* transfer, char*, char*, int, int) {
    static_cast<Transfer*>(transfer)->on_request_start();
    return CURL_PREREQFUNC_OK;
}

struct SocketSetup {
    Transfer* transfer;
    unsigned int send_timeout_ms;
};

// Bytes that are sent but not acknowledged within the send time-out fail the connection:
// the kernel's counterpart of a blocking send with a time-out.
int on_new_socket(void* setup, curl_socket_t socket, curlsocktype) {
    auto* s = static_cast<SocketSetup*>(setup);
    s->transfer->on_new_socket();
    setsockopt(socket, IPPROTO_TCP, TCP_USER_TIMEOUT, &s->send_timeout_ms,
               sizeof s->send_timeout_ms);
    return CURL_SOCKOPT_OK;
}

// Certificates are accepted outside their validity dates (the host name is not checked
// either, through CURLOPT_SSL_VERIFYHOST); every other certificate fault still fails.
CURLcode on_ssl_context(CURL*, void* context, void*) {
    X509_VERIFY_PARAM* param = libcurl().ssl_ctx_get0_param(static_cast<SSL_CTX*>(context));
    libcurl().verify_param_set_flags(param, X509_V_FLAG_NO_CHECK_TIME);
    return CURLE_OK;
}

long milliseconds(std::chrono::milliseconds d) {
    return static_cast<long>(std::max<std::chrono::milliseconds::rep>(d.count(), 1));
}

bool set_options(CURL* easy, CURLU* url, curl_slist* headers, Transfer& transfer,
                 SocketSetup& socket_setup, const HttpRequest& request) {
    bool ok = true;
    const auto set = [&](CURLoption option, auto value) {
        ok = ok && libcurl().easy_setopt(easy, option, value) == CURLE_OK;
    };
    set(CURLOPT_CURLU, url);
    set(CURLOPT_HTTPGET, 1L);
    set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    set(CURLOPT_HTTPHEADER, headers);
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_NOSIGNAL, 1L);
    // The body comes as the server sent it; the gzip reader of the caller unpacks it.
    set(CURLOPT_HTTP_CONTENT_DECODING, 0L);
    set(CURLOPT_CONNECTTIMEOUT_MS, milliseconds(request.timeouts.connect));
    // Credentials of the URL go out only once the server asks for them, in the kind it asks for
    // (as WinINet does), not with the first request.
    set(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
    set(CURLOPT_SSL_VERIFYHOST, 0L);
    // A TLS library other than OpenSSL has no such hook; the date check then stays strict.
    if (libcurl().ssl_ctx_get0_param != nullptr) {
        const CURLcode context_hook =
            libcurl().easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, on_ssl_context);
        ok = ok && (context_hook == CURLE_OK || context_hook == CURLE_NOT_BUILT_IN);
    }
    // An abandoned exchange must not wait for a name lookup to end before it can go.
    set(CURLOPT_QUICK_EXIT, 1L);
    set(CURLOPT_HEADERFUNCTION, on_header_data);
    set(CURLOPT_HEADERDATA, static_cast<void*>(&transfer));
    set(CURLOPT_WRITEFUNCTION, on_body_data);
    set(CURLOPT_WRITEDATA, static_cast<void*>(&transfer));
    set(CURLOPT_PREREQFUNCTION, on_request_start);
    set(CURLOPT_PREREQDATA, static_cast<void*>(&transfer));
    set(CURLOPT_SOCKOPTFUNCTION, on_new_socket);
    set(CURLOPT_SOCKOPTDATA, static_cast<void*>(&socket_setup));
    return ok;
}

// Sets the parsed URL up for the transfer: credentials go to the options only where the URL
// holds non-empty ones.
bool apply_credentials(CURL* easy, CURLU* url, const UrlParts& parts) {
    if (libcurl().url_set(url, CURLUPART_USER, nullptr, 0) != CURLUE_OK ||
        libcurl().url_set(url, CURLUPART_PASSWORD, nullptr, 0) != CURLUE_OK) {
        return false;
    }
    if (!parts.user.empty() &&
        libcurl().easy_setopt(easy, CURLOPT_USERNAME, parts.user.c_str()) != CURLE_OK) {
        return false;
    }
    if (!parts.password.empty() &&
        libcurl().easy_setopt(easy, CURLOPT_PASSWORD, parts.password.c_str()) != CURLE_OK) {
        return false;
    }
    return true;
}

enum class Outcome { ended, failed, timed_out, stopped };

// Runs the transfer until curl ends it (well or not), the receive time-out runs out or stop is
// requested.
Outcome run_transfer(CURLM* multi, Transfer& transfer, const std::stop_token& stop) {
    const std::stop_callback wake(stop, [multi] { libcurl().multi_wakeup(multi); });
    for (;;) {
        int running = 0;
        if (libcurl().multi_perform(multi, &running) != CURLM_OK) {
            return Outcome::failed;
        }
        if (running == 0) {
            break;
        }
        if (stop.stop_requested()) {
            return Outcome::stopped;
        }
        auto wait = std::chrono::duration_cast<Clock::duration>(max_poll_wait);
        if (const auto left = transfer.receive_time_left()) {
            if (*left <= Clock::duration::zero()) {
                return Outcome::timed_out;
            }
            wait = std::min(wait, *left);
        }
        const auto wait_ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
        if (libcurl().multi_poll(multi, nullptr, 0, static_cast<int>(wait_ms), nullptr) !=
            CURLM_OK) {
            return Outcome::failed;
        }
    }
    int queued = 0;
    const CURLMsg* message = libcurl().multi_info_read(multi, &queued);
    if (message == nullptr || message->msg != CURLMSG_DONE) {
        return Outcome::failed;
    }
    return Outcome::ended;
}

// One request of the chain, to url.
std::optional<HopAnswer> send_one(const std::string& canonical_url, const HttpRequest& request,
                                  const std::stop_token& stop) {
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    const CurlUrl url(libcurl().url());
    if (!url) {
        return std::nullopt;
    }
    // The URL is escaped and its dot segments resolved already: curl must keep it as it is.
    if (libcurl().url_set(url.get(), CURLUPART_URL, canonical_url.c_str(), CURLU_PATH_AS_IS) !=
        CURLUE_OK) {
        return std::nullopt;
    }
    const UrlParts parts = split_url(url.get());
    if (!parts_fit(parts)) {
        return std::nullopt;
    }
    const CurlEasy easy(libcurl().easy_init());
    const CurlMulti multi(libcurl().multi_init());
    const CurlSlist headers = header_list(request.header_block);
    if (!easy || !multi || (!headers && !request.header_block.empty())) {
        return std::nullopt;
    }
    Transfer transfer(easy.get(), request);
    SocketSetup socket_setup{&transfer,
                             static_cast<unsigned int>(milliseconds(request.timeouts.send))};
    if (!apply_credentials(easy.get(), url.get(), parts) ||
        !set_options(easy.get(), url.get(), headers.get(), transfer, socket_setup, request)) {
        return std::nullopt;
    }
    if (libcurl().multi_add_handle(multi.get(), easy.get()) != CURLM_OK) {
        return std::nullopt;
    }
    const Outcome outcome = run_transfer(multi.get(), transfer, stop);
    libcurl().multi_remove_handle(multi.get(), easy.get());
    if (outcome == Outcome::stopped || outcome == Outcome::failed) {
        return std::nullopt;
    }
    // A transfer that failed after the head of the answer still has its body: the bytes read
    // before the fault (a reset, the receive time-out, the body limit).
    if (!transfer.has_answer()) {
        return std::nullopt;
    }
    return transfer.take_answer();
}

std::optional<HttpAnswer> exchange_with_curl(const HttpRequest& request,
                                             const std::stop_token& stop) {
    if (!curl_ready()) {
        return std::nullopt;
    }
    return follow_redirects(request.canonical_url,
                            [&](const std::string& url) { return send_one(url, request, stop); });
}

}  // namespace

std::optional<HttpAnswer> http_exchange(const HttpRequest& request, std::stop_token stop) noexcept {
    try {
        return exchange_with_curl(request, stop);
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace proxylist
