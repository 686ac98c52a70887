#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "demo_http.hpp"
#include "demo_page.hpp"

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
