#include <gtest/gtest.h>

#include <string>

#include "service/url_escape.hpp"

using namespace proxylist;

namespace {

struct CutCase {
    const char* name;
    std::string url;
    std::string expected;
};

// Rows are named in test output by their name alone, not by their bytes.
void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class CutLeadingWhiteSpace : public testing::TestWithParam<CutCase> {};

TEST_P(CutLeadingWhiteSpace, LeavesTheRequestUrl) {
    EXPECT_EQ(cut_leading_white_space(GetParam().url), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    UrlEscape, CutLeadingWhiteSpace,
    testing::Values(CutCase{"Nothing", "http://h/", "http://h/"},
                    CutCase{"Spaces", "   http://h/", "http://h/"},
                    CutCase{"EverySpaceKind", " \t\r\n\v\fhttp://h/", "http://h/"},
                    CutCase{"OnlyWhiteSpace", " \t\r\n", ""},
                    CutCase{"InnerAndTrailingStay", " http://h/a b ", "http://h/a b "},
                    CutCase{"FullWidthSpaceStays", "\xA1\xA1http://h/", "\xA1\xA1http://h/"}),
    [](const auto& info) { return info.param.name; });

struct CanonicalCase {
    const char* name;
    std::string request_url;
    std::string expected;
};

// Rows are named in test output by their name alone, not by their bytes.
void PrintTo(const CanonicalCase& c, std::ostream* os) {
    *os << c.name;
}

class CanonicalUrl : public testing::TestWithParam<CanonicalCase> {};

TEST_P(CanonicalUrl, IsWhatTheRequestLineCarries) {
    EXPECT_EQ(canonical_url(GetParam().request_url), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    UrlEscape, CanonicalUrl,
    testing::Values(
        CanonicalCase{"Region", "http://h/get_ip.php?sxb=\xB1\xB1\xBE\xA9&tqsl=10",
                      "http://h/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10"},
        CanonicalCase{"Carrier", "http://h/get_ip.php?sxa=\xB5\xE7\xD0\xC5&submit=",
                      "http://h/get_ip.php?sxa=%B5%E7%D0%C5&submit="},
        CanonicalCase{"HighBytesInThePath", "http://h/\x80\xFF/", "http://h/%80%FF/"},
        CanonicalCase{"InnerSpace", "http://h/a b?c d", "http://h/a%20b?c%20d"},
        CanonicalCase{"ControlCharacters", "http://h/?a=\x01\t\x1F\x7F",
                      "http://h/?a=%01%09%1F%7F"},
        CanonicalCase{"StructuralCharactersPass", "http://u:p@h:81/a/b?c=d&e=f:g",
                      "http://u:p@h:81/a/b?c=d&e=f:g"},
        CanonicalCase{"PercentPassesUnchecked", "http://h/%41%zz?x=%", "http://h/%41%zz?x=%"},
        CanonicalCase{"DotSegments", "http://h/a/./b/../c", "http://h/a/c"},
        CanonicalCase{"DotDotAboveTheRoot", "http://h/../../a", "http://h/a"},
        CanonicalCase{"TrailingDotDot", "http://h/a/b/..", "http://h/a/"},
        CanonicalCase{"TrailingDot", "http://h/a/.", "http://h/a/"},
        CanonicalCase{"DotsInNamesStay", "http://h/a.b/..c/.d", "http://h/a.b/..c/.d"},
        CanonicalCase{"QueryKeepsItsDots", "http://h/a/../b?x=/../y", "http://h/b?x=/../y"},
        CanonicalCase{"CharactersAUrlMayNotHoldEscaped", "http://h/\"<>\\^`{|}?q=\"<>\\^`{|}",
                      "http://h/%22%3C%3E%5C%5E%60%7B%7C%7D?q=%22%3C%3E%5C%5E%60%7B%7C%7D"},
        CanonicalCase{"HashIsDataOfTheQuery", "http://h/a/../b?sxb=a#b&tqsl=10",
                      "http://h/b?sxb=a%23b&tqsl=10"},
        CanonicalCase{"HashEndsNoPath", "http://h/a#/../y", "http://h/y"},
        CanonicalCase{"OtherPunctuationPasses", "http://h/[]!$'()*+,;@~?[]!$'()*+,;@~",
                      "http://h/[]!$'()*+,;@~?[]!$'()*+,;@~"},
        CanonicalCase{"EscapedDotsAreNoSegments", "http://h/a/%2E%2E/b", "http://h/a/%2E%2E/b"},
        CanonicalCase{"NoPath", "http://h?x=/../y", "http://h?x=/../y"},
        CanonicalCase{"TrailingWhiteSpaceDropped", "http://h/x \t\r\n\v\f", "http://h/x"},
        CanonicalCase{"NoSchemeIsOnlyEscaped", "h/a/../b c", "h/a/../b%20c"},
        CanonicalCase{"SchemeSeparatorInTheQueryIsNoScheme", "x?q=://h/a/../b", "x?q=://h/a/../b"},
        CanonicalCase{"OneSlashAfterTheSchemeHasNoAuthority", "http:/h?q=://x/./y",
                      "http:/h?q=://x/./y"},
        CanonicalCase{"SchemeOfOtherCharactersIsNone", "h\xB0p://h/a/../b", "h%B0p://h/a/../b"},
        CanonicalCase{"SchemeMayHoldDigitsPlusMinusDot", "svn+ssh.2-x://h/a/../b",
                      "svn+ssh.2-x://h/b"},
        CanonicalCase{"Empty", "", ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
