#include <gtest/gtest.h>

#include <string>

#include "gzip_member_maker.hpp"
#include "service/page_text.hpp"

using namespace proxylist;
using test_support::gzip_member;

namespace {

// 北京 in UTF-8 and in code page 936.
const std::string beijing_utf8 = "\xE5\x8C\x97\xE4\xBA\xAC";
const std::string beijing_cp936 = "\xB1\xB1\xBE\xA9";

struct AnswerCase {
    const char* name;
    std::string body;
    std::string content_type;
    ContentCoding coding;
    std::string expected;
};

// Rows are named in test output by their name alone, not by their bytes.
void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class PageText : public testing::TestWithParam<AnswerCase> {};

TEST_P(PageText, FromAnswer) {
    const AnswerCase& c = GetParam();
    EXPECT_EQ(page_text(HttpAnswer{c.body, c.content_type, c.coding}), Text(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    PageText, PageText,
    testing::Values(
        AnswerCase{"PlainBody", "<html>x</html>1.1.1.1:80", "text/html", ContentCoding::none,
                   "<html>x</html>1.1.1.1:80"},
        AnswerCase{"Utf8Converted", beijing_utf8, "text/html; charset=UTF-8", ContentCoding::none,
                   beijing_cp936},
        AnswerCase{"Utf8AnyLetterCase", beijing_utf8, "TEXT/HTML; CHARSET=Utf-8",
                   ContentCoding::none, beijing_cp936},
        AnswerCase{"Utf8WithoutHyphenStaysRaw", beijing_utf8, "text/html; charset=utf8",
                   ContentCoding::none, beijing_utf8},
        AnswerCase{"NoContentTypeStaysRaw", beijing_utf8, "", ContentCoding::none, beijing_utf8},
        AnswerCase{"BodyIsNeverSniffed", "<meta charset=\"utf-8\">" + beijing_utf8, "text/html",
                   ContentCoding::none, "<meta charset=\"utf-8\">" + beijing_utf8},
        AnswerCase{"UnmappableBecomesQuestionMark", "a\xF0\x9F\x98\x80z",
                   "text/plain;charset=utf-8", ContentCoding::none, "a?z"},
        AnswerCase{"InvalidUtf8BecomesQuestionMark", "a\xFFz", "charset=utf-8", ContentCoding::none,
                   "a?z"},
        AnswerCase{"ZeroByteEndsTheText", std::string("ab\0cd", 5), "text/html",
                   ContentCoding::none, "ab"},
        AnswerCase{"ZeroCharacterEndsTheConversion", std::string("ab\0cd", 5), "charset=UTF-8",
                   ContentCoding::none, "ab"},
        AnswerCase{"GzipUnpacked", gzip_member("list"), "", ContentCoding::gzip, "list"},
        AnswerCase{"DeflateKindGoesThroughTheGzipReader", gzip_member("list"), "",
                   ContentCoding::deflate, "list"},
        AnswerCase{"GzipThenUtf8", gzip_member(beijing_utf8), "text/html; charset=utf-8",
                   ContentCoding::gzip, beijing_cp936},
        AnswerCase{"UncodedGzipStaysCompressed", gzip_member("list"), "", ContentCoding::none,
                   gzip_member("list").substr(0, 3)},
        AnswerCase{"EmptyBody", "", "text/html", ContentCoding::none, ""}),
    [](const auto& info) { return info.param.name; });

TEST(ContentCodingKind, OnlyExactValuesCount) {
    EXPECT_EQ(content_coding_kind("gzip"), ContentCoding::gzip);
    EXPECT_EQ(content_coding_kind("deflate"), ContentCoding::deflate);
    EXPECT_EQ(content_coding_kind("GZIP"), ContentCoding::none);
    EXPECT_EQ(content_coding_kind("x-gzip"), ContentCoding::none);
    EXPECT_EQ(content_coding_kind("gzip, identity"), ContentCoding::none);
    EXPECT_EQ(content_coding_kind(""), ContentCoding::none);
}

}  // namespace
