#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <string>
#include <vector>

#include "gzip_member_maker.hpp"
#include "loopback_http_server.hpp"
#include "service/header_block.hpp"
#include "service/http_exchange.hpp"
#include "service/page_fetch.hpp"

using namespace proxylist;
using namespace std::chrono_literals;
using test_support::gzip_member;
using test_support::http_redirect;
using test_support::http_response;
using test_support::LoopbackHttpServer;
using test_support::ScriptedAnswer;
using test_support::silence;

namespace {

// Long enough never to fire on a loaded machine, short enough that a fault shows quickly.
constexpr FetchTimeouts quick{
    .connect = 5000ms, .send = 5000ms, .receive = 5000ms, .wait = 10000ms};

const std::string beijing = "\xB1\xB1\xBE\xA9";
const std::string dianxin = "\xB5\xE7\xD0\xC5";

void clear_proxy_environment() {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
        unsetenv(name);
    }
}

// Every test starts without proxy settings, so that a developer's own proxy cannot take part.
class FetchPage : public testing::Test {
  protected:
    void SetUp() override { clear_proxy_environment(); }
    void TearDown() override { clear_proxy_environment(); }

    [[nodiscard]] std::string only_request() const {
        const std::vector<std::string> requests = server.requests();
        if (requests.size() != 1) {
            ADD_FAILURE() << requests.size() << " requests instead of one";
            return {};
        }
        return requests[0];
    }

    LoopbackHttpServer server;
};

std::string lines(std::initializer_list<std::string_view> each) {
    std::string out;
    for (const auto line : each) {
        out.append(line);
        out.append("\r\n");
    }
    return out;
}

// --- What goes on the wire ---

TEST_F(FetchPage, WholeRequestIsTheRequestLineHostAndTheFourLines) {
    const std::string url = server.url("/get_ip.php?sxb=" + beijing + "&tqsl=10&sxa=" + dianxin);
    static_cast<void>(fetch_page(Text(url), quick));
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.port());
    EXPECT_EQ(only_request(),
              lines({"GET /get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&sxa=%B5%E7%D0%C5 HTTP/1.1", host,
                     user_agent_line, accept_line, "Referer: " + url, accept_language_line, ""}));
}

TEST_F(FetchPage, LeadingWhiteSpaceVanishesFromRequestLineAndReferer) {
    const std::string url = server.url("/get_ip.php?sxb=" + beijing);
    static_cast<void>(fetch_page(Text(" \t\r\n  " + url), quick));
    const std::string request = only_request();
    EXPECT_TRUE(request.starts_with("GET /get_ip.php?sxb=%B1%B1%BE%A9 HTTP/1.1\r\n")) << request;
    EXPECT_NE(request.find("\r\nReferer: " + url + "\r\n"), std::string::npos) << request;
}

TEST_F(FetchPage, DotSegmentsResolvedAndTrailingWhiteSpaceDropped) {
    static_cast<void>(fetch_page(Text(server.url("/a/./b/../get_ip.php?x=1 2  \t")), quick));
    EXPECT_TRUE(only_request().starts_with("GET /a/get_ip.php?x=1%202 HTTP/1.1\r\n"))
        << only_request();
}

TEST_F(FetchPage, NoCompressionCookiesOrCacheLinesAreAsked) {
    static_cast<void>(fetch_page(Text(server.url("/")), quick));
    const std::string request = only_request();
    for (const char* absent : {"Accept-Encoding", "Cookie", "Cache-Control", "Pragma"}) {
        EXPECT_EQ(request.find(absent), std::string::npos) << absent << " in\n" << request;
    }
}

// --- What comes back ---

struct AnswerCase {
    const char* name;
    std::string answer;
    std::string expected;
};

// Rows are named in test output by their name alone, not by their bytes.
void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class FetchPageAnswers : public FetchPage, public testing::WithParamInterface<AnswerCase> {};

TEST_P(FetchPageAnswers, BecomeTheText) {
    server.answer_always(ScriptedAnswer{.bytes = GetParam().answer});
    EXPECT_EQ(fetch_page(Text(server.url("/get_ip.php")), quick), Text(GetParam().expected));
}

const std::string utf8_beijing = "\xE5\x8C\x97\xE4\xBA\xAC";
const std::string stored_list = std::string(300, 'L');
const std::string stored_member = gzip_member(stored_list, {.level = 0});

INSTANTIATE_TEST_SUITE_P(
    FetchPage, FetchPageAnswers,
    testing::Values(
        AnswerCase{"Ok", http_response(200, "", "<html></html>1.2.3.4:80<br>"),
                   "<html></html>1.2.3.4:80<br>"},
        AnswerCase{"NotFoundPageIsReturned",
                   http_response(404, "Content-Type: text/html\r\n", "<h1>Not Found</h1>"),
                   "<h1>Not Found</h1>"},
        AnswerCase{"ServerErrorPageIsReturned", http_response(500, "", "oops"), "oops"},
        AnswerCase{"Utf8Converted",
                   http_response(200, "Content-Type: text/html; charset=UTF-8\r\n", utf8_beijing),
                   beijing},
        AnswerCase{"Utf8WithoutHyphenStaysRaw",
                   http_response(200, "Content-Type: text/html; charset=utf8\r\n", utf8_beijing),
                   utf8_beijing},
        AnswerCase{"NoContentTypeStaysRaw", http_response(200, "", utf8_beijing), utf8_beijing},
        AnswerCase{"TwoGzipMembersJoined",
                   http_response(200, "Content-Encoding: gzip\r\n",
                                 gzip_member("1.1.1.1:80<br>") + gzip_member("2.2.2.2:80<br>")),
                   "1.1.1.1:80<br>2.2.2.2:80<br>"},
        AnswerCase{"UpperCaseGzipPassesCompressed",
                   http_response(200, "Content-Encoding: GZIP\r\n", gzip_member("list")),
                   gzip_member("list").substr(0, 3)},
        AnswerCase{"DeflateMarkedGzipMemberUnpacked",
                   http_response(200, "Content-Encoding: deflate\r\n", gzip_member("list")),
                   "list"},
        AnswerCase{
            "GzipBadMethodGivesNothing",
            http_response(200, "Content-Encoding: gzip\r\n", gzip_member("list", {.method = 7})),
            ""},
        AnswerCase{
            "GzipCrcMismatchKeepsOutput",
            http_response(200, "Content-Encoding: gzip\r\n", gzip_member("list", {.crc = 7})),
            "list"},
        AnswerCase{"GzipTruncatedMemberKeepsWhatCame",
                   http_response(200, "Content-Encoding: gzip\r\n",
                                 stored_member.substr(0, stored_member.size() - 108)),
                   stored_list.substr(0, 200)},
        AnswerCase{"GzipMarkedWithoutMagicPassesThrough",
                   http_response(200, "Content-Encoding: gzip\r\n", "plain list"), "plain list"},
        AnswerCase{"ZeroByteEndsTheText", http_response(200, "", std::string("ab\0cd", 5)), "ab"},
        AnswerCase{"EmptyBody", http_response(200, "", ""), ""},
        AnswerCase{"ChunkedBodyJoined",
                   "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                   "4\r\nabcd\r\n3\r\nefg\r\n0\r\n\r\n",
                   "abcdefg"},
        AnswerCase{"BodyUntilCloseWithoutLength",
                   "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nto the end", "to the end"},
        AnswerCase{"FirstContentTypeCounts",
                   http_response(200,
                                 "Content-Type: text/html\r\nContent-Type: text/html; "
                                 "charset=utf-8\r\n",
                                 utf8_beijing),
                   utf8_beijing}),
    [](const auto& info) { return info.param.name; });

// --- Failures ---

TEST_F(FetchPage, EmptyOrBlankUrlGivesNothing) {
    EXPECT_EQ(fetch_page(Text(), quick), Text());
    EXPECT_EQ(fetch_page(Text(" \t\r\n"), quick), Text());
}

TEST_F(FetchPage, UrlThatCannotBeSplitGivesNothing) {
    EXPECT_EQ(fetch_page(Text("no scheme at all"), quick), Text());
    std::string ftp = server.url("/");
    ftp.replace(0, 4, "ftp");
    EXPECT_EQ(fetch_page(Text(ftp), quick), Text());
    std::string too_long_target(2100, 'p');  // beyond the 2048 bytes a split URL has room for
    too_long_target[0] = '/';
    EXPECT_EQ(fetch_page(Text(server.url(too_long_target)), quick), Text());
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(FetchPage, RefusedConnectionGivesNothing) {
    std::uint16_t closed_port = 0;
    {
        const LoopbackHttpServer gone;
        closed_port = gone.port();
    }
    EXPECT_EQ(fetch_page(Text("http://127.0.0.1:" + std::to_string(closed_port) + "/"), quick),
              Text());
}

TEST_F(FetchPage, UnresolvableHostGivesNothing) {
    const FetchTimeouts short_ones{
        .connect = 2000ms, .send = 2000ms, .receive = 2000ms, .wait = 4000ms};
    // A label longer than 63 bytes is refused by the resolver itself, so no lookup leaves the
    // machine.
    const std::string host = std::string(70, 'a') + ".invalid";
    EXPECT_EQ(fetch_page(Text("http://" + host + "/get_ip.php"), short_ones), Text());
}

TEST_F(FetchPage, SilentServerEndsAtTheReceiveTimeOut) {
    server.answer_always(silence(10s));
    const FetchTimeouts t{.connect = 5000ms, .send = 5000ms, .receive = 200ms, .wait = 8000ms};
    EXPECT_EQ(fetch_page(Text(server.url("/")), t), Text());
}

TEST_F(FetchPage, SilentServerEndsAtTheWait) {
    server.answer_always(silence(10s));
    const FetchTimeouts t{.connect = 5000ms, .send = 5000ms, .receive = 60000ms, .wait = 200ms};
    EXPECT_EQ(fetch_page(Text(server.url("/")), t), Text());
}

TEST_F(FetchPage, StallInTheBodyKeepsTheBytesRead) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
    server.answer_always(ScriptedAnswer{.bytes = head + "1.2.3.4:80", .hold = 10s});
    const FetchTimeouts t{.connect = 5000ms, .send = 5000ms, .receive = 300ms, .wait = 8000ms};
    EXPECT_EQ(fetch_page(Text(server.url("/")), t), Text("1.2.3.4:80"));
}

TEST_F(FetchPage, ResetMidBodyKeepsTheBytesRead) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
    // The pause lets the bytes reach the client before the reset does.
    server.answer_always(ScriptedAnswer{
        .bytes = head + "1.2.3.4:80", .hold = 300ms, .end = ScriptedAnswer::End::reset});
    EXPECT_EQ(fetch_page(Text(server.url("/")), quick), Text("1.2.3.4:80"));
}

TEST_F(FetchPage, ResetInTheHeadGivesNothing) {
    server.answer_always(ScriptedAnswer{.bytes = "HTTP/1.1 200 OK\r\nContent-Le",
                                        .hold = 300ms,
                                        .end = ScriptedAnswer::End::reset});
    EXPECT_EQ(fetch_page(Text(server.url("/")), quick), Text());
}

TEST_F(FetchPage, CloseBeforeAnyAnswerGivesNothing) {
    server.answer_always(ScriptedAnswer{});
    EXPECT_EQ(fetch_page(Text(server.url("/")), quick), Text());
}

// --- Redirects ---

TEST_F(FetchPage, RedirectChainIsFollowedToTheFinalAnswer) {
    LoopbackHttpServer other;
    other.answer_always(ScriptedAnswer{.bytes = http_response(200, "", "final list")});
    server.answer_in_turn({
        ScriptedAnswer{.bytes = http_redirect(302, "/second")},
        ScriptedAnswer{.bytes = http_redirect(301, "/third?x=1")},
        ScriptedAnswer{.bytes = http_redirect(307, other.url("/elsewhere"))},
    });
    EXPECT_EQ(fetch_page(Text(server.url("/first")), quick), Text("final list"));
    const std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[1].starts_with("GET /second HTTP/1.1\r\n"));
    EXPECT_TRUE(requests[2].starts_with("GET /third?x=1 HTTP/1.1\r\n"));
    EXPECT_TRUE(other.requests().at(0).starts_with("GET /elsewhere HTTP/1.1\r\n"));
}

TEST_F(FetchPage, ThirtyRedirectsAreFollowed) {
    std::vector<ScriptedAnswer> chain(30, ScriptedAnswer{.bytes = http_redirect(302, "/next")});
    chain.push_back(ScriptedAnswer{.bytes = http_response(200, "", "after thirty")});
    server.answer_in_turn(chain);
    EXPECT_EQ(fetch_page(Text(server.url("/")), quick), Text("after thirty"));
}

TEST_F(FetchPage, RedirectLoopIsStopped) {
    server.answer_always(ScriptedAnswer{.bytes = http_redirect(302, "/again")});
    EXPECT_EQ(fetch_page(Text(server.url("/again")), quick), Text());
    EXPECT_EQ(server.requests().size(), 31u);  // the first request and thirty hops
}

TEST_F(FetchPage, RedirectToAnUnreachablePlaceGivesNothing) {
    std::uint16_t closed_port = 0;
    {
        const LoopbackHttpServer gone;
        closed_port = gone.port();
    }
    server.answer_always(ScriptedAnswer{
        .bytes = http_response(
            302, "Location: http://127.0.0.1:" + std::to_string(closed_port) + "/\r\n",
            "redirect page")});
    EXPECT_EQ(fetch_page(Text(server.url("/")), quick), Text());
}

// --- Proxy ---

TEST_F(FetchPage, ProxyFromTheEnvironmentSeesTheAbsoluteFormRequest) {
    LoopbackHttpServer proxy;
    proxy.answer_always(ScriptedAnswer{.bytes = http_response(200, "", "via proxy")});
    setenv("http_proxy", proxy.url("").c_str(), 1);
    const std::string url = "http://proxylist.invalid/get_ip.php?sxb=" + beijing;
    EXPECT_EQ(fetch_page(Text(url), quick), Text("via proxy"));
    const std::vector<std::string> requests = proxy.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].starts_with(
        "GET http://proxylist.invalid/get_ip.php?sxb=%B1%B1%BE%A9 HTTP/1.1\r\n"))
        << requests[0];
    EXPECT_NE(requests[0].find("\r\nReferer: " + url + "\r\n"), std::string::npos);
}

TEST_F(FetchPage, ProxyRelaysToTheOrigin) {
    LoopbackHttpServer proxy;
    proxy.act_as_proxy();
    server.answer_always(ScriptedAnswer{.bytes = http_response(200, "", "origin list")});
    setenv("http_proxy", proxy.url("").c_str(), 1);
    EXPECT_EQ(fetch_page(Text(server.url("/get_ip.php")), quick), Text("origin list"));
    EXPECT_EQ(proxy.requests().size(), 1u);
    EXPECT_TRUE(only_request().starts_with("GET /get_ip.php HTTP/1.1\r\n"));
}

TEST_F(FetchPage, NoProxyListIsRespected) {
    LoopbackHttpServer proxy;
    setenv("http_proxy", proxy.url("").c_str(), 1);
    setenv("no_proxy", "127.0.0.1", 1);
    server.answer_always(ScriptedAnswer{.bytes = http_response(200, "", "direct")});
    EXPECT_EQ(fetch_page(Text(server.url("/")), quick), Text("direct"));
    EXPECT_TRUE(proxy.requests().empty());
}

// --- Independence ---

TEST_F(FetchPage, TwoCallsInARowAreIndependent) {
    server.answer_in_turn({ScriptedAnswer{.bytes = http_response(200, "", "one")},
                           ScriptedAnswer{.bytes = http_response(200, "", "two")}});
    EXPECT_EQ(fetch_page(Text(server.url("/1")), quick), Text("one"));
    EXPECT_EQ(fetch_page(Text(server.url("/2")), quick), Text("two"));
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(FetchPage, AbandonedCallDoesNotReachTheNextOne) {
    LoopbackHttpServer slow;
    // The slow server does answer, late, after the first call has given up.
    slow.answer_always(ScriptedAnswer{.bytes = http_response(200, "", "late"), .delay = 500ms});
    server.answer_always(ScriptedAnswer{.bytes = http_response(200, "", "on time")});
    const FetchTimeouts impatient{
        .connect = 5000ms, .send = 5000ms, .receive = 5000ms, .wait = 100ms};
    EXPECT_EQ(fetch_page(Text(slow.url("/")), impatient), Text());
    EXPECT_EQ(fetch_page(Text(server.url("/")), quick), Text("on time"));
}

// --- The exchange seam on its own ---

HttpRequest plain_request(std::string url) {
    return HttpRequest{.canonical_url = std::move(url),
                       .header_block = header_block({}, "http://referer/"),
                       .timeouts = {.connect = 5000ms, .send = 5000ms, .receive = 5000ms},
                       .max_body_bytes = 1024};
}

TEST_F(FetchPage, ExchangeGivesBodyTypeAndCoding) {
    server.answer_always(ScriptedAnswer{
        .bytes =
            http_response(200, "Content-Type:  text/plain \r\ncontent-encoding: gzip\r\n", "raw")});
    const auto answer = http_exchange(plain_request(server.url("/")), {});
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->body, "raw");
    EXPECT_EQ(answer->content_type, "text/plain");
    EXPECT_EQ(answer->coding, ContentCoding::gzip);
}

TEST_F(FetchPage, ExchangeDropsTheBodyBeyondItsLimit) {
    server.answer_always(ScriptedAnswer{.bytes = http_response(200, "", std::string(5000, 'b'))});
    const auto answer = http_exchange(plain_request(server.url("/")), {});
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->body, std::string(1024, 'b'));
}

TEST_F(FetchPage, ExchangeEndsWhenAskedToStop) {
    server.answer_always(silence(10s));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(http_exchange(plain_request(server.url("/")), stop.get_token()).has_value());
}

}  // namespace
