#include "demo_reply.hpp"

#include <zlib.h>

#include "demo_page.hpp"
#include "text/codepage.hpp"

namespace demo {

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

DemoReply demo_reply(std::string_view path, const QueryValues& query,
                     const ServiceOptions& options) {
    if (path != "/get_ip.php") {
        return {404, "text/html", "<html><body>404 Not Found</body></html>", false};
    }
    std::string body = demo_list_page(query);
    if (options.utf8) {
        return {200, "text/html; charset=UTF-8", proxylist::utf8_from_cp936(body), options.gzip};
    }
    return {200, "text/html; charset=gb2312", std::move(body), options.gzip};
}

std::string demo_answer(std::string_view target, const ServiceOptions& options) {
    const auto question = target.find('?');
    const std::string_view query =
        question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
    const DemoReply reply = demo_reply(target.substr(0, question), parse_query(query), options);
    const std::string body = reply.gzip ? gzip_member(reply.body) : reply.body;
    std::string answer = "HTTP/1.1 " + std::to_string(reply.status) +
                         (reply.status == 200 ? " OK" : " Not Found") + "\r\n";
    answer += "Content-Type: " + reply.content_type + "\r\n";
    if (reply.gzip) {
        answer += "Content-Encoding: gzip\r\n";
    }
    answer += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    return answer + body;
}

}  // namespace demo
