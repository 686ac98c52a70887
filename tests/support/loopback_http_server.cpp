#include "loopback_http_server.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <utility>

namespace proxylist::test_support {
namespace {

using Clock = std::chrono::steady_clock;

// Bounds that keep every loop finite even when a client misbehaves.
constexpr std::size_t max_request_bytes = std::size_t{1} << 20;
constexpr std::chrono::milliseconds request_read_limit{10000};
constexpr std::chrono::milliseconds send_limit{10000};
constexpr std::chrono::milliseconds drain_limit{1000};

bool wait_until_ready(SocketHandle socket, bool for_writing, SocketHandle stop,
                      Clock::time_point deadline) {
    return wait_for(socket, for_writing, stop, deadline) == Readiness::ready;
}

bool send_all(SocketHandle socket, std::string_view bytes, SocketHandle stop) {
    const auto deadline = Clock::now() + send_limit;
    while (!bytes.empty()) {
        if (!wait_until_ready(socket, true, stop, deadline)) {
            return false;
        }
        const long sent = send_some(socket, bytes);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// The Content-Length of a request head, 0 when there is none.
std::size_t content_length(std::string_view head) {
    std::string folded(head);
    std::transform(folded.begin(), folded.end(), folded.begin(), lower);
    const std::size_t at = folded.find("\r\ncontent-length:");
    if (at == std::string::npos) {
        return 0;
    }
    std::size_t value = 0;
    for (std::size_t i = at + 17; i < folded.size() && folded[i] != '\r'; ++i) {
        if (folded[i] >= '0' && folded[i] <= '9') {
            value =
                std::min(max_request_bytes, value * 10 + static_cast<std::size_t>(folded[i] - '0'));
        }
    }
    return value;
}

// The head and body of one request, or what arrived of it before the client stopped sending.
std::string read_request(SocketHandle socket, SocketHandle stop) {
    const auto deadline = Clock::now() + request_read_limit;
    std::string request;
    char buffer[4096];
    while (request.size() < max_request_bytes) {
        const std::size_t head_end = request.find("\r\n\r\n");
        if (head_end != std::string::npos &&
            request.size() >= head_end + 4 + content_length(request.substr(0, head_end + 2))) {
            break;
        }
        if (!wait_until_ready(socket, false, stop, deadline)) {
            break;
        }
        const long got = receive_some(socket, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(got));
    }
    return request;
}

// Reads and drops what the client still sends, so that closing does not turn into a reset.
void drain(SocketHandle socket, SocketHandle stop) {
    const auto deadline = Clock::now() + drain_limit;
    char buffer[4096];
    while (wait_until_ready(socket, false, stop, deadline)) {
        if (receive_some(socket, buffer, sizeof buffer) <= 0) {
            return;
        }
    }
}

// The loopback origin an absolute-form request names: its port and the request rewritten to
// origin form. Nothing for any other origin.
std::optional<std::pair<std::uint16_t, std::string>> origin_form(const std::string& request) {
    const std::size_t method_end = request.find(' ');
    if (method_end == std::string::npos) {
        return std::nullopt;
    }
    const std::string_view rest = std::string_view(request).substr(method_end + 1);
    constexpr std::string_view scheme = "http://";
    if (!rest.starts_with(scheme)) {
        return std::nullopt;
    }
    const std::size_t authority_end = rest.find_first_of("/ ", scheme.size());
    if (authority_end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view authority = rest.substr(scheme.size(), authority_end - scheme.size());
    const std::size_t colon = authority.rfind(':');
    const std::string_view host = authority.substr(0, colon);
    if (!(host.starts_with("127.") || host == "localhost")) {
        return std::nullopt;
    }
    int port = 80;
    if (colon != std::string_view::npos) {
        port = std::atoi(std::string(authority.substr(colon + 1)).c_str());
    }
    if (port <= 0 || port > 65535) {
        return std::nullopt;
    }
    std::string rewritten = request.substr(0, method_end + 1);
    if (rest[authority_end] == ' ') {
        rewritten += '/';
    }
    rewritten += rest.substr(authority_end);
    return std::pair{static_cast<std::uint16_t>(port), std::move(rewritten)};
}

}  // namespace

ScriptedAnswer silence(std::chrono::milliseconds how_long) {
    return ScriptedAnswer{.hold = how_long};
}

std::string http_response(int status, std::string_view header_lines, std::string_view body) {
    std::string answer = "HTTP/1.1 " + std::to_string(status) + " Scripted\r\n";
    answer += header_lines;
    answer += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    answer += "Connection: close\r\n\r\n";
    answer += body;
    return answer;
}

std::string request_target(std::string_view request) {
    const std::size_t first = request.find(' ');
    const std::size_t second =
        request.find(' ', first == std::string_view::npos ? first : first + 1);
    if (second == std::string_view::npos) {
        return {};
    }
    return std::string(request.substr(first + 1, second - first - 1));
}

std::string http_redirect(int status, std::string_view location) {
    return http_response(status, "Location: " + std::string(location) + "\r\n", "");
}

LoopbackHttpServer::LoopbackHttpServer()
    : listener_(listen_on_loopback(port_)), stop_(make_wake_pair()) {
    if (!listener_.valid()) {
        throw std::runtime_error("loopback server: cannot listen");
    }
    answer_always(ScriptedAnswer{.bytes = http_response(200, "", "")});
    acceptor_ = std::thread([this] { accept_loop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    static_cast<void>(send_some(stop_.wake.get(), "x"));
    acceptor_.join();
    // No new connection thread can appear once the acceptor has ended.
    for (std::thread& t : connections_) {
        t.join();
    }
}

std::string LoopbackHttpServer::url(std::string_view path_and_query) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path_and_query);
}

void LoopbackHttpServer::answer_always(ScriptedAnswer answer) {
    set_handler([answer = std::move(answer)](const std::string&) { return answer; });
}

void LoopbackHttpServer::answer_in_turn(std::vector<ScriptedAnswer> answers) {
    if (answers.empty()) {
        answers.push_back(ScriptedAnswer{.bytes = http_response(200, "", "")});
    }
    auto queue = std::make_shared<std::vector<ScriptedAnswer>>(std::move(answers));
    auto next = std::make_shared<std::size_t>(0);
    auto guard = std::make_shared<std::mutex>();
    set_handler([queue, next, guard](const std::string&) {
        const std::lock_guard lock(*guard);
        const std::size_t index = std::min(*next, queue->size() - 1);
        ++*next;
        return (*queue)[index];
    });
}

void LoopbackHttpServer::set_handler(Handler handler) {
    const std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

void LoopbackHttpServer::act_as_proxy() {
    set_handler([](const std::string& request) {
        const auto origin = origin_form(request);
        if (!origin) {
            return ScriptedAnswer{.bytes = http_response(502, "", "not a loopback origin")};
        }
        return ScriptedAnswer{.bytes = exchange_raw(origin->first, origin->second, send_limit)};
    });
}

std::vector<std::string> LoopbackHttpServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

bool LoopbackHttpServer::wait_for_requests(std::size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= n; });
}

void LoopbackHttpServer::accept_loop() {
    for (;;) {
        const Readiness readiness =
            wait_for(listener_.get(), false, stop_signal(), Clock::time_point::max());
        if (readiness == Readiness::stopped) {
            return;
        }
        if (readiness != Readiness::ready) {
            continue;
        }
        auto connection = std::make_shared<Socket>(accept_connection(listener_.get()));
        if (!connection->valid()) {
            continue;
        }
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        connections_.emplace_back([this, connection] { serve(std::move(*connection)); });
    }
}

void LoopbackHttpServer::serve(Socket connection) {
    std::string request = read_request(connection.get(), stop_signal());
    if (request.empty()) {
        return;
    }
    Handler handler;
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(request);
        handler = handler_;
    }
    changed_.notify_all();
    send_answer(connection.get(), handler(request));
}

void LoopbackHttpServer::send_answer(SocketHandle connection, const ScriptedAnswer& answer) {
    if (!pause(answer.delay)) {
        return;
    }
    std::string_view bytes = answer.bytes;
    if (answer.send_only) {
        bytes = bytes.substr(0, *answer.send_only);
    }
    if (!send_all(connection, bytes, stop_signal())) {
        return;
    }
    if (!pause(answer.hold)) {
        return;
    }
    if (answer.end == ScriptedAnswer::End::reset) {
        reset_on_close(connection);
        return;
    }
    shut_down_sending(connection);
    drain(connection, stop_signal());
}

bool LoopbackHttpServer::pause(std::chrono::milliseconds how_long) {
    if (how_long <= std::chrono::milliseconds::zero()) {
        return true;
    }
    // The stop signal's only way to become readable is the server stopping.
    return wait_for(stop_signal(), false, no_socket, Clock::now() + how_long) ==
           Readiness::timed_out;
}

std::string exchange_raw(std::uint16_t port, std::string_view request,
                         std::chrono::milliseconds timeout) {
    const Socket socket = connect_loopback(port);
    if (!socket.valid() || !send_all(socket.get(), request, no_socket)) {
        return {};
    }
    const auto deadline = Clock::now() + timeout;
    std::string answer;
    char buffer[4096];
    while (wait_until_ready(socket.get(), false, no_socket, deadline)) {
        const long got = receive_some(socket.get(), buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    return answer;
}

}  // namespace proxylist::test_support
