#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "app/layout.hpp"

using namespace proxylist;

namespace {

TEST(WindowLayoutTable, DescribesAFixedCentredToolWindow) {
    const WindowLayout& w = main_window_layout();
    EXPECT_EQ(w.title, "Quillmere__Tarnwick工具");
    EXPECT_EQ(w.outer_width, 339);
    EXPECT_EQ(w.outer_height, 250);
    EXPECT_FALSE(w.resizable);
    EXPECT_TRUE(w.has_system_menu);
    EXPECT_TRUE(w.has_close_button);
    EXPECT_TRUE(w.has_minimise_button);
    EXPECT_FALSE(w.has_maximise_button);
    EXPECT_TRUE(w.movable);
    EXPECT_FALSE(w.always_on_top);
    EXPECT_TRUE(w.escape_closes);
}

struct RowCase {
    ControlId id;
    ControlKind kind;
    Placement place;
    const char* text;
    bool tab_stop;
};

class ControlRows : public testing::TestWithParam<RowCase> {};

TEST_P(ControlRows, HoldNamePlaceContentAndTabStop) {
    const RowCase& row = GetParam();
    const ControlLayout& control = control_layout(row.id);
    EXPECT_EQ(control.id, row.id);
    EXPECT_EQ(control.kind, row.kind);
    EXPECT_EQ(control.place, row.place);
    EXPECT_EQ(control.text, row.text);
    EXPECT_EQ(control.tab_stop, row.tab_stop);
    EXPECT_TRUE(control.visible);
    EXPECT_TRUE(control.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    CreationOrder, ControlRows,
    testing::Values(
        RowCase{ControlId::标签1, ControlKind::label, {24, 16, 40, 24}, "数量：", false},
        RowCase{ControlId::标签2, ControlKind::label, {24, 48, 40, 24}, "开头：", false},
        RowCase{ControlId::标签3, ControlKind::label, {24, 80, 40, 24}, "端口：", false},
        RowCase{ControlId::编辑框1, ControlKind::edit_box, {64, 16, 88, 24}, "10", true},
        RowCase{ControlId::编辑框2, ControlKind::edit_box, {64, 48, 88, 24}, "", true},
        RowCase{ControlId::编辑框3, ControlKind::edit_box, {64, 80, 88, 24}, "", true},
        RowCase{ControlId::编辑框4, ControlKind::edit_box, {168, 16, 160, 176}, "", true},
        RowCase{ControlId::按钮1, ControlKind::button, {24, 184, 56, 32}, "提取", false},
        RowCase{ControlId::按钮2, ControlKind::button, {96, 184, 56, 32}, "保存", true},
        RowCase{ControlId::标签4, ControlKind::label, {24, 112, 40, 24}, "地区：", false},
        RowCase{ControlId::编辑框5, ControlKind::edit_box, {64, 112, 88, 24}, "北京", true},
        RowCase{ControlId::标签5, ControlKind::label, {16, 144, 48, 24}, "运营商：", false},
        RowCase{ControlId::组合框1, ControlKind::combo_box, {64, 144, 88, 20}, "", false},
        RowCase{
            ControlId::标签6, ControlKind::label, {176, 200, 128, 16}, "bug反馈qq：314159", false}),
    [](const auto& info) { return std::to_string(static_cast<int>(info.param.id)); });

TEST(ControlTable, EachLabelSitsJustLeftOfTheControlItNames) {
    std::vector<ControlId> named_by_a_label;
    for (const ControlLayout& control : main_window_controls()) {
        if (!control.label) {
            continue;
        }
        const ControlLayout& label = control_layout(*control.label);
        EXPECT_EQ(label.kind, ControlKind::label) << control_name(control.id);
        EXPECT_EQ(label.place.top, control.place.top) << control_name(control.id);
        EXPECT_EQ(label.place.left + label.place.width, control.place.left)
            << control_name(control.id);
        named_by_a_label.push_back(*control.label);
    }
    // Every label but the contact line names one control.
    std::sort(named_by_a_label.begin(), named_by_a_label.end());
    EXPECT_EQ(named_by_a_label,
              (std::vector<ControlId>{ControlId::标签1, ControlId::标签2, ControlId::标签3,
                                      ControlId::标签4, ControlId::标签5}));
}

struct NameCase {
    ControlId id;
    const char* name;
};

class AccessibleNames : public testing::TestWithParam<NameCase> {};

TEST_P(AccessibleNames, ComeFromTheLabelWithoutItsColonOrTheControlsOwnText) {
    EXPECT_EQ(accessible_name(control_layout(GetParam().id), main_window_controls()),
              GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    EveryControl, AccessibleNames,
    testing::Values(NameCase{ControlId::编辑框1, "数量"}, NameCase{ControlId::编辑框2, "开头"},
                    NameCase{ControlId::编辑框3, "端口"}, NameCase{ControlId::编辑框5, "地区"},
                    NameCase{ControlId::组合框1, "运营商"}, NameCase{ControlId::编辑框4, "列表"},
                    NameCase{ControlId::按钮1, "提取"}, NameCase{ControlId::按钮2, "保存"},
                    NameCase{ControlId::标签1, "数量："}, NameCase{ControlId::标签5, "运营商："},
                    NameCase{ControlId::标签6, "bug反馈qq：314159"}),
    [](const auto& info) { return std::to_string(static_cast<int>(info.param.id)); });

struct LabelTextCase {
    const char* label_text;
    const char* own_name;
    const char* name;
};

class AccessibleNameOfACopy : public testing::TestWithParam<LabelTextCase> {};

// A copy of the table with other label texts: the name follows the label it is given.
TEST_P(AccessibleNameOfACopy, FollowsTheLabelText) {
    std::array<ControlLayout, control_count> copy{};
    std::copy_n(main_window_controls().begin(), control_count, copy.begin());
    copy[static_cast<std::size_t>(ControlId::标签3)].text = GetParam().label_text;
    ControlLayout& box = copy[static_cast<std::size_t>(ControlId::编辑框3)];
    box.own_name = GetParam().own_name;
    EXPECT_EQ(accessible_name(box, copy), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Texts, AccessibleNameOfACopy,
                         testing::Values(LabelTextCase{"端口：", "", "端口"},
                                         LabelTextCase{"Port:", "", "Port"},
                                         LabelTextCase{"端口", "", "端口"},
                                         // Only the closing colon goes.
                                         LabelTextCase{"：端口：：", "", "：端口："},
                                         LabelTextCase{"", "", ""},
                                         LabelTextCase{"端口：", "Port number", "Port number"}));

TEST(ControlTable, NoTwoControlsOverlap) {
    const auto controls = main_window_controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const Placement& a = controls[i].place;
            const Placement& b = controls[j].place;
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << control_name(controls[i].id) << " overlaps "
                               << control_name(controls[j].id);
        }
    }
}

TEST(ControlTable, LabelsCentreTheirTextButTheContactLabel) {
    for (const ControlLayout& control : main_window_controls()) {
        const auto* label = std::get_if<LabelSettings>(&control.settings);
        EXPECT_EQ(label != nullptr, control.kind == ControlKind::label);
        if (label != nullptr) {
            const auto expected =
                control.id == ControlId::标签6 ? TextAlignment::left : TextAlignment::centre;
            EXPECT_EQ(label->alignment, expected) << control_name(control.id);
            EXPECT_EQ(label->text_colour, black);
        }
    }
    EXPECT_TRUE(control_layout(ControlId::标签6).text.starts_with("bug反馈qq："));
}

struct EditCase {
    ControlId id;
    LineMode lines;
    ScrollBars scroll_bars;
    TextAlignment alignment;
    std::optional<WholeNumberRange> whole_number;
};

class EditBoxRows : public testing::TestWithParam<EditCase> {};

TEST_P(EditBoxRows, CarryTheirSettings) {
    const EditCase& row = GetParam();
    const auto* edit = std::get_if<EditBoxSettings>(&control_layout(row.id).settings);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->lines, row.lines);
    EXPECT_EQ(edit->scroll_bars, row.scroll_bars);
    EXPECT_EQ(edit->alignment, row.alignment);
    EXPECT_EQ(edit->whole_number, row.whole_number);
    EXPECT_EQ(edit->text_colour, black);
    EXPECT_EQ(edit->background, white);
    EXPECT_TRUE(edit->sunken_border);
    EXPECT_EQ(edit->length_limit, 0);
    EXPECT_TRUE(edit->hides_selection_without_focus);
    EXPECT_FALSE(edit->read_only);
    const bool multi = row.lines == LineMode::multi;
    EXPECT_EQ(edit->scrolls_sideways, !multi);
    EXPECT_EQ(edit->enter_inserts_line_break, multi);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, EditBoxRows,
    testing::Values(EditCase{ControlId::编辑框1, LineMode::single, ScrollBars::none,
                             TextAlignment::centre, WholeNumberRange{-32768, 32767}},
                    EditCase{ControlId::编辑框2, LineMode::single, ScrollBars::none,
                             TextAlignment::centre, WholeNumberRange{-32768, 32767}},
                    EditCase{ControlId::编辑框3, LineMode::single, ScrollBars::none,
                             TextAlignment::centre, WholeNumberRange{-2147483648LL, 2147483647LL}},
                    EditCase{ControlId::编辑框4, LineMode::multi, ScrollBars::vertical,
                             TextAlignment::left, std::nullopt},
                    EditCase{ControlId::编辑框5, LineMode::single, ScrollBars::none,
                             TextAlignment::centre, std::nullopt}),
    [](const auto& info) { return std::to_string(static_cast<int>(info.param.id)); });

TEST(ControlTable, ButtonsArePlainAndWrapTheirCaptions) {
    for (const ControlId id : {ControlId::按钮1, ControlId::按钮2}) {
        const auto* button = std::get_if<ButtonSettings>(&control_layout(id).settings);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->is_default);
        EXPECT_TRUE(button->caption_wraps);
    }
}

TEST(ControlTable, CarrierListIsAFixedUnsortedDropDown) {
    const auto* combo = std::get_if<ComboBoxSettings>(&control_layout(ControlId::组合框1).settings);
    ASSERT_NE(combo, nullptr);
    const std::vector<std::string_view> items(combo->items.begin(), combo->items.end());
    EXPECT_EQ(items, (std::vector<std::string_view>{"全部运营商", "电信", "联通", "移动"}));
    EXPECT_EQ(combo->current_item, 0);
    EXPECT_FALSE(combo->editable);
    EXPECT_FALSE(combo->sorted);
    EXPECT_EQ(combo->height_with_list, 160);
    EXPECT_EQ(combo->extra_item_height, 1);
    EXPECT_EQ(combo->list_scroll_bars, ScrollBars::vertical);
    EXPECT_EQ(combo->text_colour, black);
    EXPECT_EQ(combo->background, white);
}

TEST(TabOrder, VisitsTheTabStopsInCreationOrder) {
    EXPECT_EQ(tab_order(),
              (std::vector<ControlId>{ControlId::编辑框1, ControlId::编辑框2, ControlId::编辑框3,
                                      ControlId::编辑框4, ControlId::按钮2, ControlId::编辑框5}));
}

struct CentreCase {
    int screen;
    int window;
    int origin;
};

class CentredOrigin : public testing::TestWithParam<CentreCase> {};

TEST_P(CentredOrigin, TruncatesTowardZero) {
    EXPECT_EQ(centred_origin(GetParam().screen, GetParam().window), GetParam().origin);
}

INSTANTIATE_TEST_SUITE_P(Screens, CentredOrigin,
                         testing::Values(CentreCase{1024, 339, 342}, CentreCase{768, 250, 259},
                                         CentreCase{1920, 339, 790}, CentreCase{1080, 250, 415},
                                         CentreCase{339, 339, 0},
                                         // Smaller than the window: -19.5 becomes -19.
                                         CentreCase{300, 339, -19}, CentreCase{249, 250, 0}));

struct ComboItemCase {
    std::int32_t requested;
    std::int32_t selected;
};

class ComboItemToSelect : public testing::TestWithParam<ComboItemCase> {};

TEST_P(ComboItemToSelect, ClampsToTheLastItemAndToNone) {
    EXPECT_EQ(combo_item_to_select(GetParam().requested, 4), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(FourItems, ComboItemToSelect,
                         testing::Values(ComboItemCase{0, 0}, ComboItemCase{3, 3},
                                         ComboItemCase{4, 3}, ComboItemCase{7, 3},
                                         ComboItemCase{INT32_MAX, 3}, ComboItemCase{-1, -1},
                                         ComboItemCase{-5, -1}, ComboItemCase{INT32_MIN, -1}));

TEST(ComboItemToSelectEmpty, SelectsNothingInAnEmptyList) {
    EXPECT_EQ(combo_item_to_select(0, 0), -1);
    EXPECT_EQ(combo_item_to_select(5, 0), -1);
}

}  // namespace
