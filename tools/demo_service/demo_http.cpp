#include "demo_http.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <csignal>
#include <cstdio>
#include <thread>

#include "demo_page.hpp"
#include "text/codepage.hpp"

namespace demo {
namespace {

std::string gzip_member(const std::string& bytes) {
    z_stream stream{};
    // 16 + 15 window bits: a gzip header and trailer around the deflate data.
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return bytes;
    }
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return result == Z_STREAM_END ? out : bytes;
}

std::string response(int status, const char* reason, const std::string& headers,
                     const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

// Reads until the end of the request head; the target of its request line, or "".
std::string read_request_target(int connection) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        head.append(buffer, static_cast<std::size_t>(n));
    }
    const auto first = head.find(' ');
    const auto second = head.find(' ', first + 1);
    if (first == std::string::npos || second == std::string::npos) {
        return {};
    }
    return head.substr(first + 1, second - first - 1);
}

void send_all(int connection, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

void serve(int connection, ServiceOptions options) {
    const std::string target = read_request_target(connection);
    if (options.delay.count() > 0) {
        std::this_thread::sleep_for(options.delay);
    }
    send_all(connection, demo_answer(target, options));
    ::shutdown(connection, SHUT_WR);
    ::close(connection);
}

}  // namespace

std::string demo_answer(const std::string& target, const ServiceOptions& options) {
    const auto question = target.find('?');
    const std::string path = target.substr(0, question);
    if (path != "/get_ip.php") {
        return response(404, "Not Found", "Content-Type: text/html\r\n",
                        "<html><body>404 Not Found</body></html>");
    }
    const std::string query =
        question == std::string::npos ? std::string() : target.substr(question + 1);
    std::string body = demo_list_page(parse_query(query));
    std::string headers = "Content-Type: text/html; charset=gb2312\r\n";
    if (options.utf8) {
        body = proxylist::utf8_from_cp936(body);
        headers = "Content-Type: text/html; charset=UTF-8\r\n";
    }
    if (options.gzip) {
        body = gzip_member(body);
        headers += "Content-Encoding: gzip\r\n";
    }
    return response(200, "OK", headers, body);
}

bool run_demo_service(const ServiceOptions& options) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        return false;
    }
    const int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never reachable from elsewhere
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 64) != 0) {
        ::close(listener);
        return false;
    }
    std::fprintf(stderr, "demo service: http://127.0.0.1:%u/get_ip.php%s%s%s\n", options.port,
                 options.gzip ? " (gzip)" : "", options.utf8 ? " (UTF-8)" : "",
                 options.delay.count() > 0 ? " (slow)" : "");
    for (;;) {
        const int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            continue;
        }
        // One thread per request, so that a slow answer holds up nobody else.
        std::thread(serve, connection, options).detach();
    }
}

}  // namespace demo
