#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "demo_http.hpp"
#include "demo_page.hpp"
#include "loopback_http_server.hpp"

using namespace demo;

namespace {

const std::string kBeijing = "\xB1\xB1\xBE\xA9";
const std::string kTelecom = "\xB5\xE7\xD0\xC5";

QueryValues initial_query() {
    return {{"sxb", kBeijing}, {"tqsl", "10"}, {"ports", ""},
            {"ktip", ""},      {"sxa", ""},    {"submit", ""}};
}

// The initial query with one value changed.
QueryValues initial_query_with(std::string key, std::string value) {
    QueryValues query = initial_query();
    query.insert_or_assign(std::move(key), std::move(value));
    return query;
}

std::string list_of(const QueryValues& query) {
    const std::string page = demo_list_page(query);
    return page.substr(page.rfind("</html>") + 7);
}

std::size_t entries(const std::string& list) {
    std::size_t n = 0;
    for (auto at = list.find("<br>"); at != std::string::npos; at = list.find("<br>", at + 1)) {
        ++n;
    }
    return n;
}

}  // namespace

TEST(DemoPage, EveryFilterChangesTheList) {
    const std::string initial = list_of(initial_query());
    EXPECT_EQ(entries(initial), 10u);
    EXPECT_EQ(initial, list_of(initial_query())) << "the same query gives the same list";

    auto query = initial_query_with("tqsl", "3");
    EXPECT_EQ(entries(list_of(query)), 3u);

    query = initial_query_with("ktip", "203.");
    const std::string prefixed = list_of(query);
    EXPECT_EQ(entries(prefixed), 10u);
    EXPECT_EQ(prefixed.find("192.0.2."), std::string::npos);

    query = initial_query_with("ports", "3128");
    const std::string one_port = list_of(query);
    EXPECT_EQ(entries(one_port), 10u);
    EXPECT_EQ(entries(one_port),
              static_cast<std::size_t>(std::count(one_port.begin(), one_port.end(), ':')));
    EXPECT_NE(one_port.find(":3128<br>"), std::string::npos);

    query = initial_query_with("sxa", kTelecom);
    const std::string telecom = list_of(query);
    EXPECT_EQ(telecom.find("198.51.100."), std::string::npos);
    EXPECT_NE(telecom.find("192.0.2."), std::string::npos);

    query = initial_query_with("sxb", "\xC9\xCF\xBA\xA3");  // 上海
    EXPECT_NE(list_of(query), initial);
}

TEST(DemoPage, CountsUpToTenThousandAndNothingForAnUnknownPrefix) {
    auto query = initial_query_with("tqsl", "10000");
    EXPECT_EQ(entries(list_of(query)), 10000u);
    query = initial_query_with("tqsl", "99999999");
    EXPECT_EQ(entries(list_of(query)), static_cast<std::size_t>(max_entries));
    query = initial_query_with("ktip", "10.");
    EXPECT_EQ(list_of(query), "");
}

TEST(DemoPage, RegionIsShownAsTextNotMarkup) {
    auto query = initial_query_with("sxb", "</html><br>");
    const std::string page = demo_list_page(query);
    EXPECT_EQ(page.find("</html><br>"), std::string::npos);
    EXPECT_EQ(entries(list_of(query)), 10u);
}

TEST(QueryString, DecodesPercentEscapesToRawBytes) {
    const auto values = parse_query("sxb=%B1%B1%BE%A9&tqsl=10&ktip=1%20&x&bad=%G1%");
    EXPECT_EQ(values.at("sxb"), kBeijing);
    EXPECT_EQ(values.at("ktip"), "1 ");
    EXPECT_EQ(values.at("x"), "");
    EXPECT_EQ(values.at("bad"), "%G1%");
}

TEST(DemoAnswer, ModesAndUnknownPaths) {
    ServiceOptions plain;
    const std::string answer = demo_answer("/get_ip.php?tqsl=2", plain);
    EXPECT_EQ(answer.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(answer.find("charset=gb2312"), std::string::npos);

    ServiceOptions gzip;
    gzip.gzip = true;
    const std::string packed = demo_answer("/get_ip.php?tqsl=2", gzip);
    EXPECT_NE(packed.find("Content-Encoding: gzip\r\n"), std::string::npos);
    EXPECT_EQ(packed.substr(packed.find("\r\n\r\n") + 4, 2), "\x1F\x8B");

    ServiceOptions utf8;
    utf8.utf8 = true;
    const std::string converted = demo_answer("/get_ip.php?sxb=%B1%B1%BE%A9", utf8);
    EXPECT_NE(converted.find("charset=UTF-8"), std::string::npos);
    EXPECT_NE(converted.find("\xE5\x8C\x97\xE4\xBA\xAC"), std::string::npos);  // 北京

    EXPECT_EQ(demo_answer("/other", plain).rfind("HTTP/1.1 404", 0), 0u);
}

namespace {

// The demo service on a free port for the test's duration.
class RunningService {
  public:
    explicit RunningService(ServiceOptions options)
        : service_([&] {
              options.port = 0;
              return options;
          }()) {
        EXPECT_TRUE(service_.start());
    }

    // Sends the bytes on one connection and returns all that comes back until it closes.
    [[nodiscard]] std::string exchange(const std::string& request) const {
        return proxylist::test_support::exchange_raw(service_.port(), request,
                                                     std::chrono::seconds(10));
    }

  private:
    DemoService service_;
};

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

const std::string kKeepAlive = "GET /get_ip.php?tqsl=2 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
const std::string kClose =
    "GET /get_ip.php?tqsl=3 HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";

}  // namespace

TEST(DemoService, AnswersPipelinedRequestsOnOneConnectionInOrder) {
    const RunningService service{ServiceOptions{}};
    const std::string answers = service.exchange(kKeepAlive + kKeepAlive + kClose);
    EXPECT_EQ(occurrences(answers, "HTTP/1.1 200 OK\r\n"), 3u);
    // 2, 2 and then 3 entries, in the order asked.
    EXPECT_EQ(occurrences(answers, "<br>"), 7u);
    EXPECT_EQ(occurrences(answers.substr(answers.rfind("HTTP/1.1")), "<br>"), 3u);
}

TEST(DemoService, TakesALargeRequestHead) {
    const RunningService service{ServiceOptions{}};
    const std::string cookie = "Cookie: session=" + std::string(6000, 'c') + "\r\n";
    const std::string request =
        "GET /get_ip.php HTTP/1.1\r\nHost: 127.0.0.1\r\n" + cookie + "Connection: close\r\n\r\n";
    EXPECT_EQ(service.exchange(request).rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
}

TEST(DemoService, GzipModePacksTheAnswerOnceWhoeverAsks) {
    ServiceOptions gzip;
    gzip.gzip = true;
    const RunningService service{gzip};
    for (const std::string accept : {"", "Accept-Encoding: gzip\r\n"}) {
        SCOPED_TRACE(accept);
        const std::string answer =
            service.exchange("GET /get_ip.php HTTP/1.1\r\nHost: 127.0.0.1\r\n" + accept +
                             "Connection: close\r\n\r\n");
        EXPECT_EQ(occurrences(answer, "Content-Encoding: gzip\r\n"), 1u) << answer.substr(0, 300);
        EXPECT_EQ(answer.substr(answer.find("\r\n\r\n") + 4, 2), "\x1F\x8B");
    }
}

TEST(DemoService, UnknownPathIsNotFound) {
    const RunningService service{ServiceOptions{}};
    EXPECT_EQ(service.exchange("GET /other HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n")
                  .rfind("HTTP/1.1 404", 0),
              0u);
}
