#include <gtest/gtest.h>

#include <string_view>

#include "text/codepage.hpp"

using namespace proxylist;
using namespace std::string_view_literals;

TEST(Cp936FromUtf8, ConvertsAndMarksWhatCannotBeShown) {
    struct Row {
        const char* name;
        std::string_view utf8;
        std::string_view cp936;
    };
    const Row rows[] = {
        {"ascii", "192.0.2.1:80\r\n", "192.0.2.1:80\r\n"},
        {"chinese", "\xE5\x8C\x97\xE4\xBA\xAC", "\xB1\xB1\xBE\xA9"},  // 北京
        {"euro sign is 0x80", "\xE2\x82\xAC", "\x80"},
        {"character missing in 936",
         "a\xF0\x9F\x98\x80"
         "b",
         "a?b"},  // an emoji
        {"invalid byte",
         "a\xFF"
         "b",
         "a?b"},
        {"cut-off sequence at the end", "a\xE5\x8C", "a??"},
        {"surrogate encoded in UTF-8", "\xED\xA0\x80", "???"},
        // Windows would best-fit these to a look-alike (-, the full-width yen, à); a saved list
        // must not hold a character the answer did not.
        {"soft hyphen is no hyphen",
         "1\xC2\xAD"
         "2",
         "1?2"},
        {"yen sign has no full-width stand-in", "\xC2\xA5", "?"},
        {"capital A with grave is no small one", "\xC3\x80", "?"},
        {"zero character ends it", "ab\0cd"sv, "ab"},
        {"empty", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(cp936_from_utf8(row.utf8).view(), row.cp936);
    }
}

TEST(Utf8FromCp936, ConvertsAndMarksBytesThatAreNoCharacter) {
    EXPECT_EQ(utf8_from_cp936("\xB1\xB1\xBE\xA9"), "\xE5\x8C\x97\xE4\xBA\xAC");
    EXPECT_EQ(utf8_from_cp936("a\r\nb"), "a\r\nb");
#if !defined(_WIN32)
    // Windows' own table makes a lone 0xFF a private-use character instead.
    EXPECT_EQ(utf8_from_cp936("a\xFF"), "a?");
#endif
    EXPECT_EQ(utf8_from_cp936("a\xB1"), "a?");
    EXPECT_EQ(utf8_from_cp936(std::string_view("\xB1\xB1\xBE\xA9 x", 6)),
              "\xE5\x8C\x97\xE4\xBA\xAC x");
}
