#include <gtest/gtest.h>

#include <string>

#include "service/header_block.hpp"

using namespace proxylist;

namespace {

const std::string ua = std::string(user_agent_line) + "\r\n";
const std::string accept = std::string(accept_line) + "\r\n";
const std::string language = std::string(accept_language_line) + "\r\n";

struct BlockCase {
    const char* name;
    std::string caller_lines;
    std::string request_url;
    std::string expected;
};

// Rows are named in test output by their name alone, not by their bytes.
void PrintTo(const BlockCase& c, std::ostream* os) {
    *os << c.name;
}

class HeaderBlock : public testing::TestWithParam<BlockCase> {};

TEST_P(HeaderBlock, HoldsTheFourLinesInOrder) {
    EXPECT_EQ(header_block(GetParam().caller_lines, GetParam().request_url), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HeaderBlock, HeaderBlock,
    testing::Values(
        BlockCase{"NoCallerLines", "", "http://h/",
                  ua + accept + "Referer: http://h/\r\n" + language},
        BlockCase{"RefererCarriesRawBytes", "", "http://h/?sxb=\xB1\xB1\xBE\xA9 x",
                  ua + accept + "Referer: http://h/?sxb=\xB1\xB1\xBE\xA9 x\r\n" + language},
        BlockCase{"CallerLineGetsItsLineEnd", "X-One: 1", "http://h/",
                  "X-One: 1\r\n" + ua + accept + "Referer: http://h/\r\n" + language},
        BlockCase{"CallerAcceptWins", "Accept: text/html\r\n", "http://h/",
                  "Accept: text/html\r\n" + ua + "Referer: http://h/\r\n" + language},
        BlockCase{"NameComparisonIsCaseSensitive", "accept: text/html\r\n", "http://h/",
                  "accept: text/html\r\n" + ua + accept + "Referer: http://h/\r\n" + language},
        BlockCase{"NameNeedsColonAndSpace", "Accept:text/html\r\n", "http://h/",
                  "Accept:text/html\r\n" + ua + accept + "Referer: http://h/\r\n" + language},
        BlockCase{"NameFoundAnywhereInTheBlock", "X-Referer: a\r\n", "http://h/",
                  "X-Referer: a\r\n" + ua + accept + language},
        BlockCase{"RefererUrlCanHideTheLanguageLine", "", "http://h/?Accept-Language: x",
                  ua + accept + "Referer: http://h/?Accept-Language: x\r\n"},
        BlockCase{"LineBreaksInTheUrlCannotEndTheLine", "", "http://h/?a\r\nX-Evil: 1\r\n\r\n",
                  ua + accept + "Referer: http://h/?a%0D%0AX-Evil: 1%0D%0A%0D%0A\r\n" + language}),
    [](const auto& info) { return info.param.name; });

}  // namespace
