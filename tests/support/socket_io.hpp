// The few socket calls the loopback server makes, on POSIX sockets and on Winsock alike.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace proxylist::test_support {

#if defined(_WIN32)
using SocketHandle = std::uintptr_t;  // SOCKET
#else
using SocketHandle = int;
#endif
inline constexpr SocketHandle no_socket = static_cast<SocketHandle>(-1);

// Closes on destruction.
class Socket {
  public:
    explicit Socket(SocketHandle handle = no_socket) noexcept : handle_(handle) {}
    ~Socket();
    Socket(Socket&& other) noexcept : handle_(other.release()) {}
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    [[nodiscard]] SocketHandle get() const noexcept { return handle_; }
    [[nodiscard]] bool valid() const noexcept { return handle_ != no_socket; }
    SocketHandle release() noexcept;

  private:
    SocketHandle handle_;
};

// A listening socket on 127.0.0.1 at an ephemeral port; invalid when that cannot be had.
[[nodiscard]] Socket listen_on_loopback(std::uint16_t& port);
[[nodiscard]] Socket accept_connection(SocketHandle listener);
[[nodiscard]] Socket connect_loopback(std::uint16_t port);

// A pair of connected sockets: a byte sent into `wake` makes `watch` readable. Stands in for
// a pipe, which Winsock cannot wait on.
struct WakePair {
    Socket watch;
    Socket wake;
};
[[nodiscard]] WakePair make_wake_pair();

enum class Readiness { ready, stopped, timed_out };

// Waits until `socket` can be read (or written, with for_writing) or `stop` becomes readable
// (when it is valid), or until the deadline.
[[nodiscard]] Readiness wait_for(SocketHandle socket, bool for_writing, SocketHandle stop,
                                 std::chrono::steady_clock::time_point deadline);

// One send or recv; the byte count, 0 at an orderly end, or -1 on an error.
[[nodiscard]] long send_some(SocketHandle socket, std::string_view bytes);
[[nodiscard]] long receive_some(SocketHandle socket, char* buffer, std::size_t size);

// No more bytes go out; the peer sees an orderly end.
void shut_down_sending(SocketHandle socket);
// Closing will send a reset instead of an orderly end.
void reset_on_close(SocketHandle socket);

}  // namespace proxylist::test_support
