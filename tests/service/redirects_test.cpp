#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "service/redirects.hpp"

using namespace proxylist;

namespace {

struct LocationCase {
    const char* name;
    std::string location;
    std::optional<std::string> expected;
};

// Rows are named in test output by their name alone, not by their bytes.
void PrintTo(const LocationCase& c, std::ostream* os) {
    *os << c.name;
}

class RedirectUrl : public testing::TestWithParam<LocationCase> {};

// The examples of RFC 3986 section 5.4 that an http base allows, and what this client adds:
// fragments cut off, escaping as a request URL has it, other schemes refused.
TEST_P(RedirectUrl, ResolvesAgainstTheCurrentUrl) {
    EXPECT_EQ(redirect_url("http://a/b/c/d;p?q", GetParam().location), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Redirects, RedirectUrl,
    testing::Values(LocationCase{"Absolute", "https://x:8443/y?z", "https://x:8443/y?z"},
                    LocationCase{"SchemeInAnyCase", "HTTP://x/y", "HTTP://x/y"},
                    LocationCase{"NetworkPath", "//g/h", "http://g/h"},
                    LocationCase{"AbsolutePath", "/g", "http://a/g"},
                    LocationCase{"RelativePath", "g", "http://a/b/c/g"},
                    LocationCase{"DotSlash", "./g", "http://a/b/c/g"},
                    LocationCase{"TrailingSlash", "g/", "http://a/b/c/g/"},
                    LocationCase{"QueryOnly", "?y", "http://a/b/c/d;p?y"},
                    LocationCase{"PathAndQuery", "g?y", "http://a/b/c/g?y"},
                    LocationCase{"FragmentOnly", "#s", "http://a/b/c/d;p?q"},
                    LocationCase{"FragmentCutOff", "g?y#s", "http://a/b/c/g?y"},
                    LocationCase{"Empty", "", "http://a/b/c/d;p?q"},
                    LocationCase{"Dot", ".", "http://a/b/c/"},
                    LocationCase{"DotDot", "..", "http://a/b/"},
                    LocationCase{"DotDotG", "../g", "http://a/b/g"},
                    LocationCase{"AboveTheRoot", "../../../g", "http://a/g"},
                    LocationCase{"DotsInTheQueryStay", "g?y/./x", "http://a/b/c/g?y/./x"},
                    LocationCase{"WhiteSpaceAroundDropped", " \t/g \t", "http://a/g"},
                    LocationCase{"RawBytesAndSpacesEscaped", "/n a?q=1 2&r=\xB1\xB1",
                                 "http://a/n%20a?q=1%202&r=%B1%B1"},
                    LocationCase{"OtherSchemeRefused", "ftp://a/g", std::nullopt},
                    LocationCase{"OpaqueUrlRefused", "mailto:x@y", std::nullopt},
                    LocationCase{"SchemeWithoutAuthorityRefused", "http:g", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RedirectUrl, BaseWithoutPath) {
    EXPECT_EQ(redirect_url("http://a?q", "g"), "http://a/g");
    EXPECT_EQ(redirect_url("http://a?q", "?y"), "http://a?y");
}

TEST(IsFollowedRedirect, ThreeHundredsWithALocationBut304) {
    struct Row {
        int status;
        const char* location;
        bool followed;
    };
    const Row rows[] = {{300, "/x", true},  {301, "/x", true},  {302, "/x", true},
                        {303, "/x", true},  {307, "/x", true},  {308, "/x", true},
                        {399, "/x", true},  {304, "/x", false}, {302, "", false},
                        {200, "/x", false}, {299, "/x", false}, {400, "/x", false}};
    for (const Row& row : rows) {
        EXPECT_EQ(is_followed_redirect(row.status, row.location), row.followed)
            << row.status << " " << row.location;
    }
}

// A chain of made-up answers: how far follow_redirects goes and what it gives back.
TEST(FollowRedirects, StopsAtTheFirstAnswerNotFollowedOrAfterThirtyHops) {
    struct Row {
        const char* name;
        int redirects;     // before a page, or -1 for redirects without end
        bool answer;       // whether the chain ends with "page"
        std::size_t sent;  // requests made
    };
    const Row rows[] = {{"none", 0, true, 1},
                        {"one", 1, true, 2},
                        {"thirty", 30, true, 31},
                        {"thirty-one", 31, false, 31},
                        {"endless", -1, false, 31}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> sent;
        const auto answer = follow_redirects("http://h/0", [&](const std::string& url) {
            sent.push_back(url);
            HopAnswer hop;
            if (row.redirects < 0 || static_cast<int>(sent.size()) <= row.redirects) {
                hop.status = 302;
                hop.location = "/" + std::to_string(sent.size());
            } else {
                hop.status = 200;
                hop.answer.body = "page";
            }
            return std::optional<HopAnswer>(hop);
        });
        EXPECT_EQ(answer.has_value(), row.answer);
        if (answer) {
            EXPECT_EQ(answer->body, "page");
        }
        ASSERT_EQ(sent.size(), row.sent);
        EXPECT_EQ(sent.back(), "http://h/" + std::to_string(row.sent - 1));
    }
}

TEST(FollowRedirects, NoAnswerOnTheWayIsNoAnswer) {
    int calls = 0;
    const auto answer = follow_redirects("http://h/", [&](const std::string&) {
        ++calls;
        if (calls == 1) {
            return std::optional<HopAnswer>(HopAnswer{.status = 302, .location = "/next"});
        }
        return std::optional<HopAnswer>();
    });
    EXPECT_FALSE(answer.has_value());
    EXPECT_EQ(calls, 2);
}

}  // namespace
