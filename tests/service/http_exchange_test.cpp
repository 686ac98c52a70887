// The exchange seam on its own: what it hands back, its body limit and its stop request. The
// same tests run against libcurl on Linux and WinINet on Windows.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <optional>
#include <stop_token>
#include <string>

#include "loopback_http_server.hpp"
#include "running_under_wine.hpp"
#include "service/header_block.hpp"
#include "service/http_exchange.hpp"
#include "system_proxy.hpp"

using namespace proxylist;
using namespace std::chrono_literals;
using test_support::http_response;
using test_support::LoopbackHttpServer;
using test_support::running_under_wine;
using test_support::ScriptedAnswer;
using test_support::silence;
using test_support::SystemProxy;

namespace {

HttpRequest plain_request(std::string url, std::size_t max_body_bytes = 1024,
                          std::chrono::milliseconds receive = 5000ms) {
    return HttpRequest{.canonical_url = std::move(url),
                       .header_block = header_block({}, "http://referer/"),
                       .timeouts = {.connect = 5000ms, .send = 5000ms, .receive = receive},
                       .max_body_bytes = max_body_bytes};
}

class HttpExchange : public testing::Test {
  protected:
    SystemProxy no_proxy;
    LoopbackHttpServer server;
};

TEST_F(HttpExchange, GivesBodyTrimmedTypeAndCodingKind) {
    server.answer_always(ScriptedAnswer{
        .bytes =
            http_response(200, "Content-Type:  text/plain \r\ncontent-encoding: gzip\r\n", "raw")});
    const auto answer = http_exchange(plain_request(server.url("/")), {});
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->body, "raw");
    EXPECT_EQ(answer->content_type, "text/plain");
    EXPECT_EQ(answer->coding, ContentCoding::gzip);
}

TEST_F(HttpExchange, AbsentHeadersGiveEmptyValues) {
    server.answer_always(ScriptedAnswer{.bytes = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nx"});
    const auto answer = http_exchange(plain_request(server.url("/")), {});
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->body, "x");
    EXPECT_EQ(answer->content_type, "");
    EXPECT_EQ(answer->coding, ContentCoding::none);
}

TEST_F(HttpExchange, DropsTheBodyBeyondItsLimit) {
    struct Row {
        const char* name;
        std::string answer;
    };
    const Row rows[] = {
        {"with a length", http_response(200, "", std::string(5000, 'b'))},
        {"chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
         "1000\r\n" +
             std::string(4096, 'b') + "\r\n0\r\n\r\n"},
        {"until close", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + std::string(3000, 'b')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        server.answer_always(ScriptedAnswer{.bytes = row.answer});
        for (const std::size_t limit : {std::size_t{1}, std::size_t{1024}, std::size_t{1500}}) {
            const auto answer = http_exchange(plain_request(server.url("/"), limit), {});
            ASSERT_TRUE(answer.has_value());
            EXPECT_EQ(answer->body, std::string(limit, 'b'));
        }
    }
}

TEST_F(HttpExchange, EndsAtOnceWhenStopWasRequested) {
    server.answer_always(silence(60s));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(http_exchange(plain_request(server.url("/")), stop.get_token()).has_value());
}

TEST_F(HttpExchange, StopCutsAWaitForTheAnswerShort) {
    if (running_under_wine()) {
        // Wine's WinINet keeps a blocking call's request alive while the call runs, so closing
        // its handles (what stops the exchange on Windows) ends the call only at its time-out.
        GTEST_SKIP() << "closing a handle does not cut a blocking WinINet call short under Wine";
    }
    server.answer_always(silence(60s));
    std::stop_source stop;
    auto exchange = std::async(std::launch::async, [&] {
        return http_exchange(plain_request(server.url("/"), 1024, 60000ms), stop.get_token());
    });
    ASSERT_TRUE(server.wait_for_requests(1, 10000ms));
    stop.request_stop();
    // Far less than the minute of silence and of the receive time-out.
    ASSERT_EQ(exchange.wait_for(20s), std::future_status::ready);
    EXPECT_FALSE(exchange.get().has_value());
}

}  // namespace
