#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "gzip_member_maker.hpp"
#include "service/gzip_members.hpp"

using namespace proxylist;
using test_support::gzip_header;
using test_support::gzip_member;
using test_support::MemberShape;

namespace {

constexpr std::size_t no_limit = std::size_t{1} << 30;

const std::string stored_payload = "0123456789abcdefghij";
// A stored member: deflate data starts with a 5-byte block header, then the payload as is.
const std::string stored = gzip_member(stored_payload, {.level = 0});
const std::size_t stored_data_start = gzip_header({}).size() + 5;

struct UnpackCase {
    const char* name;
    std::string body;
    std::string expected;
    std::size_t max_output = no_limit;
};

// Rows are named in test output by their name alone, not by their bytes.
void PrintTo(const UnpackCase& c, std::ostream* os) {
    *os << c.name;
}

class GzipMembers : public testing::TestWithParam<UnpackCase> {};

TEST_P(GzipMembers, Unpack) {
    EXPECT_EQ(unpack_gzip_members(GetParam().body, GetParam().max_output), GetParam().expected);
}

// Cuts at every byte: headers, deflate blocks and trailers all straddle a piece boundary.
TEST_P(GzipMembers, UnpackInOneBytePieces) {
    EXPECT_EQ(unpack_gzip_members(GetParam().body, GetParam().max_output, {1, 1}),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    GzipMembers, GzipMembers,
    testing::Values(
        UnpackCase{"OneMember", gzip_member("1.2.3.4:80<br>"), "1.2.3.4:80<br>"},
        UnpackCase{"TwoMembersJoined", gzip_member("first,") + gzip_member("second"),
                   "first,second"},
        UnpackCase{"EmptyMember", gzip_member("") + gzip_member("x"), "x"},
        UnpackCase{"EmptyBody", "", ""},
        UnpackCase{"NoMagicPassesThrough", "plain <html> page", "plain <html> page"},
        UnpackCase{"HalfMagicPassesThrough", "\x1F", "\x1F"},
        UnpackCase{"WrongSecondMagicByte", "\x1F\x8Cxyz", "\x1F\x8Cxyz"},
        UnpackCase{"TailWithoutMagicPassesThrough", gzip_member("list") + "tail", "listtail"},
        UnpackCase{"BadMethodGivesNothing", gzip_member("list", {.method = 7}), ""},
        UnpackCase{"ReservedFlagGivesNothing", gzip_member("list", {.flags = 0x20}), ""},
        UnpackCase{"ReservedFlagHighBit", gzip_member("list", {.flags = 0x80}), ""},
        UnpackCase{"OptionalFieldsSkipped",
                   gzip_member("list", {.flags = 0x1E,
                                        .extra = std::string("e\0x", 3),
                                        .name = "name.txt",
                                        .comment = "a comment"}),
                   "list"},
        UnpackCase{"TextFlagIgnored", gzip_member("list", {.flags = 0x01}), "list"},
        UnpackCase{"HeaderCutOff", "\x1F\x8B\x08\x00\x01", ""},
        UnpackCase{"ExtraLongerThanBody",
                   gzip_header({.flags = 0x04, .extra = "abc"}).substr(0, 12), ""},
        UnpackCase{"NameNeverEnds", gzip_header({.flags = 0x08, .name = "n"}).substr(0, 11), ""},
        UnpackCase{"CrcMismatchKeepsOutput", gzip_member("list", {.crc = 1}), "list"},
        UnpackCase{"CrcMismatchStopsBeforeNextMember",
                   gzip_member("a", {.crc = 1}) + gzip_member("b"), "a"},
        UnpackCase{"BadHeaderInSecondMemberKeepsFirst",
                   gzip_member("a") + gzip_member("b", {.method = 9}), "a"},
        UnpackCase{"DataCutOffKeepsWhatCame", stored.substr(0, stored_data_start + 7),
                   stored_payload.substr(0, 7)},
        UnpackCase{"TrailerCutOffKeepsOutput", stored.substr(0, stored.size() - 3), stored_payload},
        UnpackCase{"CorruptDataKeepsWhatCameBefore",
                   gzip_member("a") + gzip_header({}) + "\xFF\xFF\xFF", "a"},
        UnpackCase{"OutputLimit", gzip_member(std::string(1000, 'x')), std::string(10, 'x'), 10},
        UnpackCase{"OutputLimitOnPassThrough", "plain text", "plain", 5},
        UnpackCase{"OutputLimitAcrossMembers", gzip_member("abc") + gzip_member("def"), "abcd", 4}),
    [](const auto& info) { return info.param.name; });

TEST(GzipMembersLarge, ManyMembersOfLargeOutputJoin) {
    std::string expected;
    std::string body;
    for (int i = 0; i < 5; ++i) {
        std::string payload;
        for (int line = 0; line < 40000; ++line) {
            payload += std::to_string(i * 7 + line * 13) + ".1.2.3:8080<br>\r\n";
        }
        expected += payload;
        body += gzip_member(payload);
    }
    EXPECT_EQ(unpack_gzip_members(body, no_limit), expected);
    EXPECT_EQ(unpack_gzip_members(body, no_limit, {4093, 1021}), expected);
}

}  // namespace
