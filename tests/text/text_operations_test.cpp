#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.hpp"

using namespace proxylist;
using namespace std::string_view_literals;

namespace {

constexpr const char* kBeijing = "\xB1\xB1\xBE\xA9";  // 北京

}  // namespace

TEST(TextValue, AbsentEqualsEmptyAndZeroByteEndsTheText) {
    EXPECT_EQ(Text(), Text(""));
    EXPECT_EQ(Text(static_cast<const char*>(nullptr)), Text(""));
    EXPECT_EQ(Text("ab\0cd"sv), Text("ab"));
    EXPECT_EQ(Text("ab\0cd"sv).size(), 2u);
    EXPECT_STREQ(Text().c_str(), "");
}

TEST(TextByteLength, CountsBytesNotCharacters) {
    EXPECT_EQ(text_byte_length(kBeijing), 4);
    EXPECT_EQ(text_byte_length(Text()), 0);
    EXPECT_EQ(text_byte_length("a\r\n"), 3);
}

TEST(TextJoin, JoinsPiecesInOrderAndTreatsAbsentAsEmpty) {
    EXPECT_EQ(text_join(Text(), Text()), Text());
    EXPECT_EQ(text_join("a", Text(), "bc", Text(kBeijing)), Text("abc\xB1\xB1\xBE\xA9"));
    EXPECT_EQ(text_join(Text("x")), Text("x"));
}

// Every way of making a text ends it at its first zero byte: a result built in a Storage (as
// the conversions and the list cleaning build theirs) as much as one taken from bytes.
TEST(TextValue, StorageHandedOverIsCutAtItsFirstZeroByte) {
    EXPECT_EQ(Text(Text::Storage("ab\0cd", 5)), Text("ab"));
    EXPECT_EQ(Text(Text::Storage("\0cd", 3)), Text());
    EXPECT_EQ(text_copy(Text(Text::Storage("\xB1\xB1\0", 3))), Text("\xB1\xB1"));
    EXPECT_EQ(text_copy(Text()), Text());
}

TEST(TextTail, TakesTheLastBytes) {
    struct Row {
        const char* name;
        std::string_view text;
        std::int32_t n;
        std::string_view expected;
    };
    const Row rows[] = {
        {"zero", "abcde", 0, ""},
        {"negative", "abcde", -3, ""},
        {"more than length", "abcde", 9, "abcde"},
        {"exact length", "abcde", 5, "abcde"},
        {"two", "abcde", 2, "de"},
        {"empty text", "", 4, ""},
        {"cuts inside a character", "\xB1\xB1\xBE\xA9", 3, "\xB1\xBE\xA9"},
        {"int max", "abc", INT32_MAX, "abc"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(text_tail(Text(row.text), row.n).view(), row.expected);
    }
}

TEST(TextFindLast, HonoursRegionCaseAndTwoByteRule) {
    struct Row {
        const char* name;
        std::string_view text;
        std::string_view search;
        std::optional<std::int32_t> start;
        bool ignore_case;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"at end, start left out", "abcdefghXY", "XY", std::nullopt, false, 9},
        {"at end, start L+1", "abcdefghXY", "XY", 11, false, 9},
        {"at end, start L misses it", "abcdefghXY", "XY", 10, false, -1},
        {"start L finds the earlier one", "abXYefghXY", "XY", 10, false, 3},
        {"start far beyond", "abXYefghXY", "XY", INT32_MAX, false, 9},
        {"start 1", "abXY", "XY", 1, false, -1},
        {"start 0", "abXY", "XY", 0, false, -1},
        {"start negative", "abXY", "XY", -7, false, -1},
        {"start int min", "abXY", "XY", INT32_MIN, false, -1},
        {"empty search, region", "abc", "", std::nullopt, false, 1},
        {"empty search, start 2", "abc", "", 2, false, 1},
        {"empty search, start 1", "abc", "", 1, false, -1},
        {"empty search, empty text", "", "", std::nullopt, false, -1},
        {"search longer than text", "ab", "abc", std::nullopt, false, -1},
        {"empty text", "", "a", std::nullopt, false, -1},
        {"inside a two-byte character", "\xB0\xA1\x62", "\xA1\x62", std::nullopt, false, -1},
        {"at a character start", "\xA1\x62\xB0", "\xA1\x62", std::nullopt, false, 1},
        {"even run of lead bytes", "\xA1\xA1\xA1\xA1", "\xA1\xA1", std::nullopt, false, 3},
        {"odd run: only the first pair", "\xA1\xA1\xA1", "\xA1\xA1", std::nullopt, false, 1},
        {"tag after a lead byte", "\xB0<br>", "<br>", std::nullopt, false, -1},
        {"tag after a whole character", "\xB0\xB0<br>", "<br>", std::nullopt, false, 3},
        {"capitals, flag false", "x</HTML>y", "</html>", std::nullopt, false, -1},
        {"capitals, flag true", "x</HTML>y", "</html>", std::nullopt, true, 2},
        {"capitals in the search, flag true", "x</html>y", "</HTML>", std::nullopt, true, 2},
        {"fold only A-Z: @ is not `", "`", "@", std::nullopt, true, -1},
        {"fold only A-Z: [ is not {", "{", "[", std::nullopt, true, -1},
        {"last of several", "abab", "ab", std::nullopt, false, 3},
        {"lone lead byte last", "ab\xB0", "\xB0", std::nullopt, false, 3},
        {"fold and two-byte bytes", "\xC1\x41", "\xC1\x61", std::nullopt, true, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(text_find_last(Text(row.text), Text(row.search), row.start, row.ignore_case),
                  row.expected);
    }
}

TEST(TextTrimLeading, DropsOnlySpacesAndFullWidthSpaces) {
    struct Row {
        const char* name;
        std::string_view text;
        std::string_view expected;
    };
    const Row rows[] = {
        {"only spaces and full-width spaces", "  \xA1\xA1 \xA1\xA1", ""},
        {"empty", "", ""},
        {"mixed before text", "  \xA1\xA1 x y ", "x y "},
        {"tab stops", "\t x", "\t x"},
        {"CR LF then spaces stops", "\r\n  x", "\r\n  x"},
        {"0xA1 0xA2 stops", "\xA1\xA2x", "\xA1\xA2x"},
        {"0xA0 stops", "\xA0x", "\xA0x"},
        {"lone 0xA1 at the end stays", " \xA1", "\xA1"},
        {"three 0xA1: the third stays", "\xA1\xA1\xA1", "\xA1"},
        {"vertical tab and form feed stop", "\v\fx", "\v\fx"},
        {"nothing to trim", "x", "x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(text_trim_leading(Text(row.text)).view(), row.expected);
    }
}

TEST(TextReplace, ReplacesLeftToRightByCharacters) {
    struct Row {
        const char* name;
        std::string_view text;
        std::string_view search;
        std::string_view replacement;
        std::optional<std::int32_t> start;
        std::optional<std::int32_t> count;
        bool case_sensitive;
        std::string_view expected;
    };
    const auto all = std::nullopt;
    const Row rows[] = {
        {"no overlap", "aaaa", "aa", "b", all, all, true, "bb"},
        {"no re-examination", "aaa", "aa", "a", all, all, true, "aa"},
        {"replacement not looked at again", "aXa", "a", "aa", all, all, true, "aaXaa"},
        {"tag in capitals, flag false", "1<BR>2<Br>", "<br>", "\r\n", all, all, false,
         "1\r\n2\r\n"},
        {"tag in capitals, flag true", "1<BR>2<br>", "<br>", "\r\n", all, all, true,
         "1<BR>2\r\n"},
        {"search in capitals, flag false", "<br>", "<BR>", "x", all, all, false, "x"},
        {"fold only A-Z", "`", "@", "x", all, all, false, "`"},
        {"count 1", "ababab", "ab", "X", all, 1, true, "Xabab"},
        {"count 0", "ababab", "ab", "X", all, 0, true, "ababab"},
        {"count -2", "ababab", "ab", "X", all, -2, true, "XXX"},
        {"start 3", "ababab", "ab", "X", 3, all, true, "abXX"},
        {"start 0", "ababab", "ab", "X", 0, all, true, "XXX"},
        {"start negative", "ababab", "ab", "X", -4, all, true, "XXX"},
        {"start at the last byte", "ababab", "b", "X", 6, all, true, "ababaX"},
        {"start beyond the length", "ababab", "ab", "X", 7, all, true, "ababab"},
        {"empty search", "ababab", "", "X", all, all, true, "ababab"},
        {"empty text", "", "ab", "X", all, all, true, ""},
        {"empty replacement deletes", "a\r\nb\r\n", "\r\n", "", all, all, true, "ab"},
        {"lead byte takes the CR", "\xB0\r\nx", "\r\n", "", all, all, true, "\xB0\r\nx"},
        {"whole character then CR LF", "\xB0\xB0\r\nx", "\r\n", "", all, all, true,
         "\xB0\xB0x"},
        {"second byte never starts a match", "\xB0\xA1\x62", "\xA1\x62", "Z", all, all, true,
         "\xB0\xA1\x62"},
        {"start is taken as a character start", "\xB0\xA1\x62", "\xA1\x62", "Z", 2, all, true,
         "\xB0Z"},
        {"tag after a lead byte is skipped", "\xB0<br><br>", "<br>", "\r\n", all, all, false,
         "\xB0<br>\r\n"},
        {"fewer bytes than the search", "ab", "abc", "X", all, all, true, "ab"},
        {"count with start", "abababab", "ab", "X", 3, 2, true, "abXXab"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(text_replace(Text(row.text), Text(row.search), Text(row.replacement),
                               row.start, row.count, row.case_sensitive)
                      .view(),
                  row.expected);
    }
}

// One text as the text, the search text and the replacement at once: the result is built
// apart from the inputs, so replacing a text by itself gives it back.
TEST(TextReplace, OneTextInEveryRole) {
    const Text t("a<br>b");
    EXPECT_EQ(text_replace(t, t, t, std::nullopt, std::nullopt, false), t);
    EXPECT_EQ(text_replace(t, t, Text(), std::nullopt, std::nullopt, true), Text());
}
