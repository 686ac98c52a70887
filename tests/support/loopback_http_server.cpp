#include "loopback_http_server.hpp"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

class Socket {
  public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    [[nodiscard]] int get() const noexcept { return fd_; }

  private:
    int fd_;
};

int milliseconds_left(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

// Waits for events on fd; false on time-out, on an error, or when stop_fd becomes readable.
bool wait_for(int fd, short events, int stop_fd, Clock::time_point deadline) {
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {stop_fd, POLLIN, 0}};
        const int ready = ::poll(fds, stop_fd >= 0 ? 2 : 1, milliseconds_left(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || (stop_fd >= 0 && (fds[1].revents & POLLIN) != 0)) {
            return false;
        }
        return true;
    }
}

bool send_all(int fd, std::string_view bytes, int stop_fd) {
    const auto deadline = Clock::now() + send_limit;
    while (!bytes.empty()) {
        if (!wait_for(fd, POLLOUT, stop_fd, deadline)) {
            return false;
        }
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
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
std::string read_request(int fd, int stop_fd) {
    const auto deadline = Clock::now() + request_read_limit;
    std::string request;
    char buffer[4096];
    while (request.size() < max_request_bytes) {
        const std::size_t head_end = request.find("\r\n\r\n");
        if (head_end != std::string::npos &&
            request.size() >= head_end + 4 + content_length(request.substr(0, head_end + 2))) {
            break;
        }
        if (!wait_for(fd, POLLIN, stop_fd, deadline)) {
            break;
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(got));
    }
    return request;
}

// Reads and drops what the client still sends, so that closing does not turn into a reset.
void drain(int fd, int stop_fd) {
    const auto deadline = Clock::now() + drain_limit;
    char buffer[4096];
    while (wait_for(fd, POLLIN, stop_fd, deadline)) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0 && !(got < 0 && errno == EINTR)) {
            return;
        }
    }
}

int connect_loopback(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
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

LoopbackHttpServer::LoopbackHttpServer() {
    if (::pipe2(stop_pipe_, O_CLOEXEC) != 0) {
        throw std::runtime_error("loopback server: no pipe");
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = 0;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(stop_pipe_[0]);
        ::close(stop_pipe_[1]);
        if (listener_ >= 0) {
            ::close(listener_);
        }
        throw std::runtime_error("loopback server: cannot listen");
    }
    port_ = ntohs(address.sin_port);
    answer_always(ScriptedAnswer{.bytes = http_response(200, "", "")});
    acceptor_ = std::thread([this] { accept_loop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    const char wake = 1;
    static_cast<void>(::write(stop_pipe_[1], &wake, 1));
    acceptor_.join();
    // No new connection thread can appear once the acceptor has ended.
    for (std::thread& t : connections_) {
        t.join();
    }
    ::close(listener_);
    ::close(stop_pipe_[0]);
    ::close(stop_pipe_[1]);
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
        pollfd fds[2] = {{listener_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || (fds[1].revents & POLLIN) != 0) {
            return;
        }
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            continue;
        }
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(connection);
            return;
        }
        connections_.emplace_back([this, connection] { serve(connection); });
    }
}

void LoopbackHttpServer::serve(int connection) {
    const Socket socket(connection);
    std::string request = read_request(connection, stop_pipe_[0]);
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
    send_answer(connection, handler(request));
}

void LoopbackHttpServer::send_answer(int connection, const ScriptedAnswer& answer) {
    if (!pause(answer.delay)) {
        return;
    }
    std::string_view bytes = answer.bytes;
    if (answer.send_only) {
        bytes = bytes.substr(0, *answer.send_only);
    }
    if (!send_all(connection, bytes, stop_pipe_[0])) {
        return;
    }
    if (!pause(answer.hold)) {
        return;
    }
    if (answer.end == ScriptedAnswer::End::reset) {
        const linger abort_on_close{.l_onoff = 1, .l_linger = 0};
        ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof abort_on_close);
        return;
    }
    ::shutdown(connection, SHUT_WR);
    drain(connection, stop_pipe_[0]);
}

bool LoopbackHttpServer::pause(std::chrono::milliseconds how_long) {
    if (how_long <= std::chrono::milliseconds::zero()) {
        return true;
    }
    pollfd stop{stop_pipe_[0], POLLIN, 0};
    const auto deadline = Clock::now() + how_long;
    for (;;) {
        const int ready = ::poll(&stop, 1, milliseconds_left(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready == 0;
    }
}

std::string exchange_raw(std::uint16_t port, std::string_view request,
                         std::chrono::milliseconds timeout) {
    const Socket socket(connect_loopback(port));
    if (socket.get() < 0 || !send_all(socket.get(), request, -1)) {
        return {};
    }
    const auto deadline = Clock::now() + timeout;
    std::string answer;
    char buffer[4096];
    while (wait_for(socket.get(), POLLIN, -1, deadline)) {
        const ssize_t got = ::recv(socket.get(), buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    return answer;
}

}  // namespace proxylist::test_support
