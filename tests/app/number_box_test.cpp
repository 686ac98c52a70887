#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "app/number_box.hpp"

using namespace proxylist;

namespace {

struct TypedCase {
    const char* name;
    char32_t code;
    bool accepted;
};

class NumberBoxTyping : public testing::TestWithParam<TypedCase> {};

TEST_P(NumberBoxTyping, PassesDigitsMinusAndControlCharactersOnly) {
    EXPECT_EQ(number_box_accepts(GetParam().code), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, NumberBoxTyping,
    testing::Values(TypedCase{"digit_0", U'0', true}, TypedCase{"digit_9", U'9', true},
                    TypedCase{"minus", U'-', true}, TypedCase{"backspace", 0x08, true},
                    TypedCase{"ctrl_c", 0x03, true}, TypedCase{"ctrl_v", 0x16, true},
                    TypedCase{"ctrl_x", 0x18, true}, TypedCase{"unit_separator", 31, true},
                    TypedCase{"space", U' ', false}, TypedCase{"plus", U'+', false},
                    TypedCase{"dot", U'.', false}, TypedCase{"letter", U'a', false},
                    TypedCase{"upper_letter", U'Z', false}, TypedCase{"slash", U'/', false},
                    TypedCase{"colon", U':', false}, TypedCase{"delete_char", 0x7F, false},
                    TypedCase{"chinese", U'中', false},
                    TypedCase{"full_width_digit", U'１', false}),
    [](const auto& info) { return std::string(info.param.name); });

struct TypedTextCase {
    const char* name;
    std::string typed;
    std::string kept;
};

class NumberBoxTypedText : public testing::TestWithParam<TypedTextCase> {};

TEST_P(NumberBoxTypedText, KeepsOnlyWhatTheFilterPasses) {
    EXPECT_EQ(number_box_typed_text(GetParam().typed), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Commits, NumberBoxTypedText,
                         testing::Values(TypedTextCase{"digits", "123", "123"},
                                         TypedTextCase{"chinese", "中文", ""},
                                         TypedTextCase{"mixed", "1中2-", "12-"},
                                         TypedTextCase{"full_width_digits", "１２", ""},
                                         TypedTextCase{"letters_and_dot", "a.b", ""},
                                         TypedTextCase{"empty", "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ValueCase {
    const char* name;
    std::string text;
    std::int64_t value;
};

class NumberBoxValue : public testing::TestWithParam<ValueCase> {};

TEST_P(NumberBoxValue, ReadsLeadingDecimalNumber) {
    EXPECT_EQ(number_box_value(GetParam().text), GetParam().value);
}

constexpr std::int64_t int64_max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64_min = std::numeric_limits<std::int64_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberBoxValue,
    testing::Values(
        ValueCase{"empty", "", 0}, ValueCase{"zero", "0", 0}, ValueCase{"minus_zero", "-0", 0},
        ValueCase{"leading_zeros", "007", 7}, ValueCase{"trailing_letters", "12ab", 12},
        ValueCase{"dots", "1.2.3", 1}, ValueCase{"plus_sign", "+42", 42},
        ValueCase{"white_space", " \t\r\n\v\f-15", -15}, ValueCase{"sign_only", "-", 0},
        ValueCase{"two_signs", "--5", 0}, ValueCase{"space_after_sign", "- 5", 0},
        ValueCase{"letters_first", "ab12", 0},
        ValueCase{"int64_max", "9223372036854775807", int64_max},
        ValueCase{"int64_min", "-9223372036854775808", int64_min},
        ValueCase{"just_past_int64_max", "9223372036854775808", int64_max},
        ValueCase{"just_past_int64_min", "-9223372036854775809", int64_min},
        ValueCase{"forty_digits", "1234567890123456789012345678901234567890", int64_max},
        ValueCase{"forty_digits_negative", "-1234567890123456789012345678901234567890", int64_min},
        ValueCase{"many_leading_zeros", "000000000000000000000000000000000042", 42}),
    [](const auto& info) { return std::string(info.param.name); });

struct CorrectionCase {
    const char* name;
    std::string text;
    WholeNumberRange range;
    std::string shown;
};

class NumberBoxCorrectedText : public testing::TestWithParam<CorrectionCase> {};

TEST_P(NumberBoxCorrectedText, ClampsAndShowsZeroAsEmpty) {
    EXPECT_EQ(number_box_corrected_text(GetParam().text, GetParam().range), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, NumberBoxCorrectedText,
    testing::Values(
        CorrectionCase{"empty_stays_empty", "", short_range, ""},
        CorrectionCase{"zero", "0", short_range, ""},
        CorrectionCase{"minus_zero", "-0", short_range, ""},
        CorrectionCase{"leading_zeros", "007", short_range, "7"},
        CorrectionCase{"pasted_letters", "12ab", short_range, "12"},
        CorrectionCase{"pasted_dots", "1.2.3", short_range, "1"},
        CorrectionCase{"short_max", "32767", short_range, "32767"},
        CorrectionCase{"past_short_max", "32768", short_range, "32767"},
        CorrectionCase{"short_min", "-32768", short_range, "-32768"},
        CorrectionCase{"past_short_min", "-32769", short_range, "-32768"},
        CorrectionCase{"five_nines", "99999", short_range, "32767"},
        CorrectionCase{"past_int_max", "2147483648", int_range, "2147483647"},
        CorrectionCase{"past_int_min", "-2147483649", int_range, "-2147483648"},
        CorrectionCase{"port", "80", int_range, "80"},
        CorrectionCase{"huge_in_short_box", "99999999999999999999999", short_range, "32767"},
        CorrectionCase{"huge_in_int_box", "99999999999999999999999", int_range, "2147483647"},
        CorrectionCase{"huge_negative", "-99999999999999999999999", int_range, "-2147483648"},
        CorrectionCase{"letters_only", "abc", int_range, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct FocusLossCase {
    const char* name;
    std::string text;
    std::size_t selection_start;
    bool replaced;
    std::string shown;
    std::size_t caret;
};

class NumberBoxFocusLoss : public testing::TestWithParam<FocusLossCase> {};

TEST_P(NumberBoxFocusLoss, ReplacesOnlyWhenDifferentAndKeepsCaretAtSelectionStart) {
    const auto& c = GetParam();
    const auto correction = number_box_focus_loss(c.text, c.selection_start, short_range);
    ASSERT_EQ(correction.has_value(), c.replaced);
    if (correction) {
        EXPECT_EQ(correction->text, c.shown);
        EXPECT_EQ(correction->caret, c.caret);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, NumberBoxFocusLoss,
    testing::Values(FocusLossCase{"empty_left_alone", "", 0, false, "", 0},
                    FocusLossCase{"number_left_alone", "80", 1, false, "80", 0},
                    FocusLossCase{"negative_left_alone", "-5", 2, false, "-5", 0},
                    FocusLossCase{"zero_emptied", "0", 1, true, "", 0},
                    FocusLossCase{"caret_kept_inside", "007", 1, true, "7", 1},
                    FocusLossCase{"caret_clamped_to_end", "12ab", 4, true, "12", 2},
                    FocusLossCase{"caret_at_start", "99999", 0, true, "32767", 0},
                    FocusLossCase{"plus_sign_removed", "+3", 0, true, "3", 0},
                    FocusLossCase{"white_space_removed", " 3", 2, true, "3", 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
