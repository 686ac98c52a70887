#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "loopback_http_server.hpp"

using namespace proxylist::test_support;
using namespace std::chrono_literals;

namespace {

constexpr auto patience = 5000ms;
const std::string get = "GET /x HTTP/1.1\r\nHost: a\r\n\r\n";

TEST(LoopbackHttpServer, RecordsExactBytesAndAnswersExactBytes) {
    LoopbackHttpServer server;
    server.answer_always(ScriptedAnswer{.bytes = "HTTP/1.1 200 OK\r\n\r\nexact"});
    const std::string with_body = "POST /y HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc";
    EXPECT_EQ(exchange_raw(server.port(), get, patience), "HTTP/1.1 200 OK\r\n\r\nexact");
    EXPECT_EQ(exchange_raw(server.port(), with_body, patience), "HTTP/1.1 200 OK\r\n\r\nexact");
    EXPECT_EQ(server.requests(), (std::vector<std::string>{get, with_body}));
}

TEST(LoopbackHttpServer, SendsOnlyThePartAskedFor) {
    LoopbackHttpServer server;
    server.answer_always(ScriptedAnswer{.bytes = "HTTP/1.1 200 OK\r\n", .send_only = 8});
    EXPECT_EQ(exchange_raw(server.port(), get, patience), "HTTP/1.1");
}

TEST(LoopbackHttpServer, AnswersInTurnThenRepeatsTheLast) {
    LoopbackHttpServer server;
    server.answer_in_turn({ScriptedAnswer{.bytes = "1"}, ScriptedAnswer{.bytes = "2"}});
    EXPECT_EQ(exchange_raw(server.port(), get, patience), "1");
    EXPECT_EQ(exchange_raw(server.port(), get, patience), "2");
    EXPECT_EQ(exchange_raw(server.port(), get, patience), "2");
}

TEST(LoopbackHttpServer, HandlerSeesTheRequest) {
    LoopbackHttpServer server;
    server.set_handler(
        [](const std::string& request) { return ScriptedAnswer{.bytes = request.substr(0, 6)}; });
    EXPECT_EQ(exchange_raw(server.port(), get, patience), "GET /x");
}

TEST(LoopbackHttpServer, SilentAnswerHoldsTheConnectionOpen) {
    LoopbackHttpServer server;
    server.answer_always(silence(10s));
    EXPECT_EQ(exchange_raw(server.port(), get, 200ms), "");
    EXPECT_TRUE(server.wait_for_requests(1, patience));
}  // the destructor ends the held connection without waiting the ten seconds out

TEST(LoopbackHttpServer, ProxyRelaysToALoopbackOrigin) {
    LoopbackHttpServer origin;
    origin.answer_always(ScriptedAnswer{.bytes = http_response(200, "", "from origin")});
    LoopbackHttpServer proxy;
    proxy.act_as_proxy();
    const std::string absolute = "GET " + origin.url("/p?q=1") + " HTTP/1.1\r\nHost: h\r\n\r\n";
    EXPECT_EQ(exchange_raw(proxy.port(), absolute, patience),
              http_response(200, "", "from origin"));
    EXPECT_EQ(origin.requests().at(0), "GET /p?q=1 HTTP/1.1\r\nHost: h\r\n\r\n");
}

TEST(LoopbackHttpServer, ProxyRefusesOtherOrigins) {
    LoopbackHttpServer proxy;
    proxy.act_as_proxy();
    const std::string answer =
        exchange_raw(proxy.port(), "GET http://example.invalid/ HTTP/1.1\r\n\r\n", patience);
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 502 ")) << answer;
}

}  // namespace
