#include "socket_io.hpp"

#include <algorithm>
#include <stdexcept>

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace proxylist::test_support {
namespace {

#if defined(_WIN32)
using socklen_type = int;
constexpr int send_flags = 0;

void close_handle(SocketHandle s) {
    ::closesocket(static_cast<SOCKET>(s));
}
bool interrupted() {
    return false;
}
int poll_sockets(pollfd* fds, unsigned long n, int timeout_ms) {
    return ::WSAPoll(fds, n, timeout_ms);
}
SocketHandle new_stream_socket() {
    return static_cast<SocketHandle>(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
}

// Winsock wants to be started once per process; nothing ever stops it.
void start_winsock() {
    static const bool started = [] {
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            throw std::runtime_error("Winsock does not start");
        }
        return true;
    }();
    static_cast<void>(started);
}
#else
using socklen_type = socklen_t;
constexpr int send_flags = MSG_NOSIGNAL;

void close_handle(SocketHandle s) {
    ::close(s);
}
bool interrupted() {
    return errno == EINTR;
}
int poll_sockets(pollfd* fds, nfds_t n, int timeout_ms) {
    return ::poll(fds, n, timeout_ms);
}
SocketHandle new_stream_socket() {
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}
void start_winsock() {}
#endif

sockaddr_in loopback_address(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int milliseconds_left(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 1 << 30));
}

}  // namespace

Socket::~Socket() {
    if (valid()) {
        close_handle(handle_);
    }
}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        if (valid()) {
            close_handle(handle_);
        }
        handle_ = other.release();
    }
    return *this;
}

SocketHandle Socket::release() noexcept {
    const SocketHandle handle = handle_;
    handle_ = no_socket;
    return handle;
}

Socket listen_on_loopback(std::uint16_t& port) {
    start_winsock();
    Socket listener(new_stream_socket());
    sockaddr_in address = loopback_address(0);
    socklen_type length = sizeof address;
    if (!listener.valid() ||
        ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.get(), 64) != 0 ||
        ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return Socket();
    }
    port = ntohs(address.sin_port);
    return listener;
}

Socket accept_connection(SocketHandle listener) {
#if defined(_WIN32)
    return Socket(static_cast<SocketHandle>(::accept(listener, nullptr, nullptr)));
#else
    return Socket(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
#endif
}

Socket connect_loopback(std::uint16_t port) {
    start_winsock();
    Socket s(new_stream_socket());
    const sockaddr_in address = loopback_address(port);
    if (!s.valid() ||
        ::connect(s.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return Socket();
    }
    return s;
}

WakePair make_wake_pair() {
    std::uint16_t port = 0;
    const Socket listener = listen_on_loopback(port);
    WakePair pair;
    pair.wake = connect_loopback(port);
    if (listener.valid() && pair.wake.valid()) {
        pair.watch = accept_connection(listener.get());
    }
    if (!pair.watch.valid()) {
        throw std::runtime_error("loopback server: no wake pair");
    }
    return pair;
}

Readiness wait_for(SocketHandle socket, bool for_writing, SocketHandle stop,
                   std::chrono::steady_clock::time_point deadline) {
    const short events = for_writing ? POLLOUT : POLLIN;
    for (;;) {
        pollfd fds[2] = {};
        fds[0].fd = socket;
        fds[0].events = events;
        fds[1].fd = stop;
        fds[1].events = POLLIN;
        const int ready = poll_sockets(fds, stop != no_socket ? 2 : 1, milliseconds_left(deadline));
        if (ready < 0 && interrupted()) {
            continue;
        }
        if (ready < 0) {
            return Readiness::stopped;
        }
        if (stop != no_socket && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            return Readiness::stopped;
        }
        return ready == 0 ? Readiness::timed_out : Readiness::ready;
    }
}

long send_some(SocketHandle socket, std::string_view bytes) {
    for (;;) {
        const int piece = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20));
        const auto sent = ::send(socket, bytes.data(), piece, send_flags);
        if (sent < 0 && interrupted()) {
            continue;
        }
        return static_cast<long>(sent);
    }
}

long receive_some(SocketHandle socket, char* buffer, std::size_t size) {
    for (;;) {
        const int room = static_cast<int>(std::min<std::size_t>(size, 1 << 20));
        const auto got = ::recv(socket, buffer, room, 0);
        if (got < 0 && interrupted()) {
            continue;
        }
        return static_cast<long>(got);
    }
}

void shut_down_sending(SocketHandle socket) {
#if defined(_WIN32)
    ::shutdown(socket, SD_SEND);
#else
    ::shutdown(socket, SHUT_WR);
#endif
}

void reset_on_close(SocketHandle socket) {
    linger abort_on_close{};
    abort_on_close.l_onoff = 1;
    abort_on_close.l_linger = 0;
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort_on_close),
                 sizeof abort_on_close);
}

}  // namespace proxylist::test_support
