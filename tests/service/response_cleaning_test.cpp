#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "service/response_cleaning.hpp"

using namespace proxylist;

namespace {

const std::string kHead = "<html><head><title>\xB4\xFA\xC0\xED</title></head><body>x</body>";
const std::string kEnd = "</html>";

struct PageRow {
    const char* name;
    std::string page;
    std::string list;
};

}  // namespace

TEST(CleanListPage, WorkedExamples) {
    const std::string fw = "\xA1\xA1";  // full-width space
    const PageRow rows[] = {
        {"entries after the marker", kHead + kEnd + "192.0.2.1:80<br>198.51.100.7:808<br>",
         "192.0.2.1:80\r\n198.51.100.7:808\r\n"},
        {"leading CR LF keeps the spaces after it",
         kHead + kEnd + "\r\n  192.0.2.1:80<br>\r\n198.51.100.7:808<BR>\r\n",
         "  192.0.2.1:80\r\n198.51.100.7:808\r\n"},
        {"spaces and full-width spaces go",
         kHead + kEnd + fw + fw + "  " + fw + "192.0.2.1:80<br>198.51.100.7:808",
         "192.0.2.1:80\r\n198.51.100.7:808"},
        {"lone LF stays", kHead + kEnd + "192.0.2.1:80\n198.51.100.7:808\n",
         "192.0.2.1:80\n198.51.100.7:808\n"},
        {"CR CR LF LF becomes one CR LF", kHead + kEnd + "192.0.2.1:80\r\r\n\n<br>",
         "192.0.2.1:80\r\n\r\n"},
        {"CR LF inside a tag rejoins it", kHead + kEnd + "192.0.2.1:80<b\r\nr>",
         "192.0.2.1:80\r\n"},
        {"spaces around a tag stay", kHead + kEnd + "192.0.2.1:80  <br>  ", "192.0.2.1:80  \r\n  "},
        {"a leading tab stays", kHead + kEnd + "\t192.0.2.1:80<br>", "\t192.0.2.1:80\r\n"},
        {"only the last marker counts", kHead + kEnd + "x" + kEnd + "192.0.2.1:80<br>",
         "192.0.2.1:80\r\n"},
        {"a marker at the very end is not seen", kHead + kEnd + "192.0.2.1:80<br>" + kEnd,
         "192.0.2.1:80\r\n" + kEnd},
        {"nothing after the marker", kHead + kEnd, ""},
        {"only CR LF after the marker", kHead + kEnd + "\r\n", ""},
        {"no marker", "192.0.2.1:80<br>", ""},
        {"marker in capitals only", "<HTML></HTML>192.0.2.1:80<br>", ""},
        {"empty page", "", ""},
        {"a slash in the break tag stays", kHead + kEnd + "192.0.2.1:80<br/>", "192.0.2.1:80<br/>"},
        {"an odd run of lead bytes hides the CR LF", kHead + kEnd + "a\xE4\xBD\xA0\r\nb<br>",
         "a\xE4\xBD\xA0\r\nb\r\n"},
        {"an odd run of lead bytes hides the tag", kHead + kEnd + "a\xE4\xBD\xA0<br>b<br>",
         "a\xE4\xBD\xA0<br>b\r\n"},
        {"an even run of lead bytes does not", kHead + kEnd + "a\xB1\xB1\r\nb<br>",
         "a\xB1\xB1"
         "b\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(clean_list_page(Text(row.page)).to_string(), row.list);
    }
}

TEST(CleanListPage, LongRunsWithoutBreaksComeThroughWhole) {
    const std::string run(100000, '7');
    const std::string page = kHead + kEnd + run + "<br>" + run + "\xB0\xB0" + run;
    EXPECT_EQ(clean_list_page(Text(page)).to_string(), run + "\r\n" + run + "\xB0\xB0" + run);
}

TEST(TextAfterLast, StartAndCaseFlag) {
    struct Row {
        const char* name;
        std::string_view text;
        std::optional<std::int32_t> start;
        std::optional<bool> ignore_case;
        std::string_view expected;
    };
    const Row rows[] = {
        {"start left out", "a</html>b</html>c", std::nullopt, std::nullopt, "c"},
        {"start limits the search", "a</html>b</html>c", 10, std::nullopt, "b</html>c"},
        {"start L+1 sees a final marker", "a</html>", 9, std::nullopt, ""},
        {"start L does not", "a</html>b</html>", 16, std::nullopt, "b</html>"},
        {"capitals need the flag", "a</HTML>b", std::nullopt, true, "b"},
        {"capitals without it", "a</HTML>b", std::nullopt, false, ""},
        {"start 0", "a</html>b", 0, std::nullopt, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(text_after_last(Text(row.text), "</html>", row.start, row.ignore_case).view(),
                  row.expected);
    }
}

TEST(ReplacePairs, EachPairWorksOnTheOutputOfTheOneBefore) {
    const ReplacePair chain[] = {{"a", "b"}, {"b", "c"}};
    EXPECT_EQ(replace_pairs("ab", std::nullopt, std::nullopt, std::nullopt, chain), Text("cc"));

    const ReplacePair reverse[] = {{"b", "c"}, {"a", "b"}};
    EXPECT_EQ(replace_pairs("ab", std::nullopt, std::nullopt, std::nullopt, reverse), Text("bc"));
}

TEST(ReplacePairs, CountStartAndFlagApplyToEveryPair) {
    const ReplacePair pairs[] = {{"x", "1"}, {"y", "2"}};
    EXPECT_EQ(replace_pairs("xxyy", 1, std::nullopt, std::nullopt, pairs), Text("1x2y"));
    EXPECT_EQ(replace_pairs("xxyy", std::nullopt, 2, std::nullopt, pairs), Text("x122"));
    EXPECT_EQ(replace_pairs("xxyy", std::nullopt, 0, std::nullopt, pairs), Text("1122"));
    EXPECT_EQ(replace_pairs("xxyy", 0, std::nullopt, std::nullopt, pairs), Text("xxyy"));

    const ReplacePair tag[] = {{"<br>", "|"}};
    EXPECT_EQ(replace_pairs("<BR><br>", std::nullopt, std::nullopt, std::nullopt, tag), Text("||"));
    EXPECT_EQ(replace_pairs("<BR><br>", std::nullopt, std::nullopt, false, tag), Text("||"));
    EXPECT_EQ(replace_pairs("<BR><br>", std::nullopt, std::nullopt, true, tag), Text("<BR>|"));
}

TEST(ReplacePairs, EmptySearchChangesNothingAndOnlyFivePairsCount) {
    const ReplacePair empty_search[] = {{"", "x"}, {"a", ""}};
    EXPECT_EQ(replace_pairs("aba", std::nullopt, std::nullopt, std::nullopt, empty_search),
              Text("b"));

    const ReplacePair six[] = {{"1", "2"}, {"2", "3"}, {"3", "4"},
                               {"4", "5"}, {"5", "6"}, {"6", "7"}};
    EXPECT_EQ(replace_pairs("1", std::nullopt, std::nullopt, std::nullopt, six), Text("6"));
}

// clean_list_page cleans in one pass; it must give what the three steps give one after the
// other, also where deleted CR LF pairs join a "<br>" and where lead bytes hide bytes.
TEST(CleanListPage, OnePassEqualsTheStepsOneAfterAnother) {
    std::mt19937 engine(1211);
    const std::string pieces[] = {
        "\r\n",         "\r",    "\n",       "<",    "b",    "B", "r",       "R",  ">",
        "<br>",         " ",     "\xA1\xA1", "\xA1", "\xB0", "1", "</html>", "\t", "<b\r\nr>",
        "<\r\nBr\r\n>", "<br\r", "\n>"};
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 24);
    const ReplacePair pairs[] = {{"\r\n", {}}, {"<br>", "\r\n"}};
    for (int i = 0; i < 20000; ++i) {
        std::string page = i % 5 == 0 ? "" : "</html>";
        for (int n = length(engine); n > 0; --n) {
            page += pieces[piece(engine)];
        }
        const Text t(page);
        const Text stepwise = replace_pairs(text_trim_leading(text_after_last(t, "</html>")),
                                            std::nullopt, std::nullopt, std::nullopt, pairs);
        ASSERT_EQ(clean_list_page(t).to_string(), stepwise.to_string()) << "case " << i;
    }
}
