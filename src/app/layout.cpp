#include "app/layout.hpp"

#include <algorithm>

namespace proxylist {
namespace {

constexpr WindowLayout window{
    .kind = "窗口",
    .title = "Quillmere__Tarnwick工具",
    .outer_width = 339,
    .outer_height = 250,
    .resizable = false,
    .has_system_menu = true,
    .has_close_button = true,
    .has_minimise_button = true,
    .has_maximise_button = false,
    .movable = true,
    .always_on_top = false,
    .escape_closes = true,
};

constexpr LabelSettings centred_label{.alignment = TextAlignment::centre, .text_colour = black};
constexpr LabelSettings left_label{.alignment = TextAlignment::left, .text_colour = black};

constexpr EditBoxSettings single_line_box(std::optional<WholeNumberRange> whole_number) {
    return {
        .lines = LineMode::single,
        .scroll_bars = ScrollBars::none,
        .alignment = TextAlignment::centre,
        .whole_number = whole_number,
        .text_colour = black,
        .background = white,
        .sunken_border = true,
        .length_limit = 0,
        .hides_selection_without_focus = true,
        .scrolls_sideways = true,
        .enter_inserts_line_break = false,
        .read_only = false,
    };
}

constexpr EditBoxSettings list_box{
    .lines = LineMode::multi,
    .scroll_bars = ScrollBars::vertical,
    .alignment = TextAlignment::left,
    .whole_number = std::nullopt,
    .text_colour = black,
    .background = white,
    .sunken_border = true,
    .length_limit = 0,
    .hides_selection_without_focus = true,
    .scrolls_sideways = false,
    .enter_inserts_line_break = true,
    .read_only = false,
};

constexpr ButtonSettings push_button{.is_default = false, .caption_wraps = true};

constexpr std::array<std::string_view, 4> carrier_items = {"全部运营商", "电信", "联通", "移动"};

constexpr ComboBoxSettings carrier_list{
    .items = carrier_items,
    .current_item = 0,
    .editable = false,
    .sorted = false,
    .height_with_list = 160,
    .extra_item_height = 1,
    .list_scroll_bars = ScrollBars::vertical,
    .text_colour = black,
    .background = white,
};

constexpr ControlLayout label(ControlId id, Placement place, std::string_view text,
                              LabelSettings settings = centred_label) {
    return {id, ControlKind::label, "标签", place, text, false, true, true, settings};
}

constexpr ControlLayout edit_box(ControlId id, Placement place, std::string_view text,
                                 EditBoxSettings settings) {
    return {id, ControlKind::edit_box, "编辑框", place, text, true, true, true, settings};
}

constexpr ControlLayout button(ControlId id, Placement place, std::string_view caption,
                               bool tab_stop) {
    return {id, ControlKind::button, "按钮", place, caption, tab_stop, true, true, push_button};
}

constexpr std::array<ControlLayout, control_count> controls = {
    label(ControlId::标签1, {24, 16, 40, 24}, "数量："),
    label(ControlId::标签2, {24, 48, 40, 24}, "开头："),
    label(ControlId::标签3, {24, 80, 40, 24}, "端口："),
    edit_box(ControlId::编辑框1, {64, 16, 88, 24}, "10", single_line_box(short_range)),
    edit_box(ControlId::编辑框2, {64, 48, 88, 24}, "", single_line_box(short_range)),
    edit_box(ControlId::编辑框3, {64, 80, 88, 24}, "", single_line_box(int_range)),
    edit_box(ControlId::编辑框4, {168, 16, 160, 176}, "", list_box),
    button(ControlId::按钮1, {24, 184, 56, 32}, "提取", false),
    button(ControlId::按钮2, {96, 184, 56, 32}, "保存", true),
    label(ControlId::标签4, {24, 112, 40, 24}, "地区："),
    edit_box(ControlId::编辑框5, {64, 112, 88, 24}, "北京", single_line_box(std::nullopt)),
    label(ControlId::标签5, {16, 144, 48, 24}, "运营商："),
    ControlLayout{ControlId::组合框1,
                  ControlKind::combo_box,
                  "组合框",
                  {64, 144, 88, 20},
                  "",
                  false,
                  true,
                  true,
                  carrier_list},
    // The contact number is ours to choose; it is no real account.
    label(ControlId::标签6, {176, 200, 128, 16}, "bug反馈qq：314159", left_label),
};

// The table is in creation order, so a control's row sits at its id's position.
constexpr bool rows_follow_ids() {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (static_cast<std::size_t>(controls[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rows_follow_ids());

}  // namespace

const WindowLayout& main_window_layout() noexcept {
    return window;
}

std::span<const ControlLayout, control_count> main_window_controls() noexcept {
    return controls;
}

const ControlLayout& control_layout(ControlId id) noexcept {
    return controls[static_cast<std::size_t>(id)];
}

std::vector<ControlId> tab_order() {
    std::vector<ControlId> order;
    for (const ControlLayout& control : controls) {
        if (control.tab_stop && control.visible && control.enabled) {
            order.push_back(control.id);
        }
    }
    return order;
}

std::int32_t combo_item_to_select(std::int32_t requested, std::int32_t item_count) noexcept {
    if (requested < -1) {
        return -1;
    }
    return std::min(requested, item_count - 1);
}

}  // namespace proxylist
