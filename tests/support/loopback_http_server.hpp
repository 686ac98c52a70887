// A loopback HTTP server for tests: it records the exact bytes of every request and answers
// with exact bytes, optionally late, cut short, with a reset, or not at all. It can also play
// an HTTP proxy. It listens on an ephemeral port of 127.0.0.1 only, and every loop in it ends
// by itself: the destructor stops it and joins all its threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "socket_io.hpp"

namespace proxylist::test_support {

// How one connection is answered after its request has been read: `delay` of silence, the
// bytes (only the first `send_only` of them when set), `hold` of silence, then the end.
struct ScriptedAnswer {
    enum class End {
        close,  // an orderly close
        reset,  // a TCP reset
    };

    std::string bytes{};
    std::chrono::milliseconds delay{0};
    std::optional<std::size_t> send_only{};
    std::chrono::milliseconds hold{0};  // cut short when the server stops
    End end = End::close;
};

// An answer that never comes: the connection stays open and silent for `how_long`.
[[nodiscard]] ScriptedAnswer silence(std::chrono::milliseconds how_long);

// A complete HTTP/1.1 answer: the status line, header_lines (each ended with CR LF), a
// Content-Length and "Connection: close", an empty line and the body.
[[nodiscard]] std::string http_response(int status, std::string_view header_lines,
                                        std::string_view body);

// The request target of a request's first line ("/path?query"), or "" when there is none.
[[nodiscard]] std::string request_target(std::string_view request);

// A redirect answer to location.
[[nodiscard]] std::string http_redirect(int status, std::string_view location);

class LoopbackHttpServer {
  public:
    // Called on the connection's own thread with the exact bytes of the request.
    using Handler = std::function<ScriptedAnswer(const std::string& request)>;

    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    [[nodiscard]] std::uint16_t port() const noexcept { return port_; }
    // "http://127.0.0.1:<port>" followed by path_and_query.
    [[nodiscard]] std::string url(std::string_view path_and_query = "/") const;

    // Every request gets this answer (the default: 200 with an empty body).
    void answer_always(ScriptedAnswer answer);
    // Requests get these answers in turn; once they are used up, the last one repeats.
    void answer_in_turn(std::vector<ScriptedAnswer> answers);
    void set_handler(Handler handler);
    // Plays an HTTP proxy: an absolute-form request for a loopback origin is sent on there in
    // origin form and the origin's answer is relayed byte for byte; any other origin gets 502.
    void act_as_proxy();

    // The exact bytes of each request received so far, in order of arrival.
    [[nodiscard]] std::vector<std::string> requests() const;
    // Waits until at least n requests have arrived; false when timeout runs out first.
    [[nodiscard]] bool wait_for_requests(std::size_t n, std::chrono::milliseconds timeout) const;

  private:
    void accept_loop();
    void serve(Socket connection);
    void send_answer(SocketHandle connection, const ScriptedAnswer& answer);
    // Sleeps for how_long or until the server stops; false when it stopped.
    bool pause(std::chrono::milliseconds how_long);
    [[nodiscard]] SocketHandle stop_signal() const noexcept { return stop_.watch.get(); }

    std::uint16_t port_ = 0;
    Socket listener_;
    WakePair stop_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    Handler handler_;
    std::vector<std::string> requests_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

// Sends request to 127.0.0.1:port and returns every byte of the answer until the peer closes
// it, an error, or timeout. For the proxy mode and for tests that speak raw HTTP.
[[nodiscard]] std::string exchange_raw(std::uint16_t port, std::string_view request,
                                       std::chrono::milliseconds timeout);

}  // namespace proxylist::test_support
