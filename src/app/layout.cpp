#include "app/layout.hpp"

#include <algorithm>

namespace proxylist {
namespace {

constexpr WindowLayout window{
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
    return {id, ControlKind::label, place, text, false, true, true, settings};
}

// A box named by the label in front of it, or by a name of its own when it has no label.
constexpr ControlLayout edit_box(ControlId id, Placement place, std::string_view text,
                                 EditBoxSettings settings, std::optional<ControlId> label,
                                 std::string_view own_name = {}) {
    return {id, ControlKind::edit_box, place, text, true, true, true, settings, label, own_name};
}

constexpr ControlLayout button(ControlId id, Placement place, std::string_view caption,
                               bool tab_stop) {
    return {id, ControlKind::button, place, caption, tab_stop, true, true, push_button};
}

constexpr std::array<ControlLayout, control_count> controls = {
    label(ControlId::标签1, {24, 16, 40, 24}, "数量："),
    label(ControlId::标签2, {24, 48, 40, 24}, "开头："),
    label(ControlId::标签3, {24, 80, 40, 24}, "端口："),
    edit_box(ControlId::编辑框1, {64, 16, 88, 24}, "10", single_line_box(short_range),
             ControlId::标签1),
    edit_box(ControlId::编辑框2, {64, 48, 88, 24}, "", single_line_box(short_range),
             ControlId::标签2),
    edit_box(ControlId::编辑框3, {64, 80, 88, 24}, "", single_line_box(int_range),
             ControlId::标签3),
    // The list has no label; a screen reader still needs a name for it.
    edit_box(ControlId::编辑框4, {168, 16, 160, 176}, "", list_box, std::nullopt, "列表"),
    button(ControlId::按钮1, {24, 184, 56, 32}, "提取", false),
    button(ControlId::按钮2, {96, 184, 56, 32}, "保存", true),
    label(ControlId::标签4, {24, 112, 40, 24}, "地区："),
    edit_box(ControlId::编辑框5, {64, 112, 88, 24}, "北京", single_line_box(std::nullopt),
             ControlId::标签4),
    label(ControlId::标签5, {16, 144, 48, 24}, "运营商："),
    ControlLayout{.id = ControlId::组合框1,
                  .kind = ControlKind::combo_box,
                  .place = {64, 144, 88, 20},
                  .text = "",
                  .tab_stop = false,
                  .visible = true,
                  .enabled = true,
                  .settings = carrier_list,
                  .label = ControlId::标签5},
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

// Each row's settings are those of its kind.
constexpr bool settings_follow_kinds() {
    for (const ControlLayout& control : controls) {
        const std::size_t expected = control.kind == ControlKind::label      ? 0
                                     : control.kind == ControlKind::edit_box ? 1
                                     : control.kind == ControlKind::button   ? 2
                                                                             : 3;
        if (control.settings.index() != expected) {
            return false;
        }
    }
    return true;
}
static_assert(settings_follow_kinds());

// What no front-end can show is kept out of the table: a single-line box has no scroll bar and
// no line break to insert.
constexpr bool single_line_boxes_are_plain() {
    for (const ControlLayout& control : controls) {
        const auto* box = std::get_if<EditBoxSettings>(&control.settings);
        if (box != nullptr && box->lines == LineMode::single &&
            (box->scroll_bars != ScrollBars::none || box->enter_inserts_line_break)) {
            return false;
        }
    }
    return true;
}
static_assert(single_line_boxes_are_plain());

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

std::string_view accessible_name(const ControlLayout& control,
                                 std::span<const ControlLayout, control_count> controls) noexcept {
    if (!control.own_name.empty()) {
        return control.own_name;
    }
    if (!control.label) {
        return control.text;
    }
    std::string_view name = controls[static_cast<std::size_t>(*control.label)].text;
    // The colon belongs to the look of the label, not to the name.
    for (const std::string_view colon : {std::string_view("："), std::string_view(":")}) {
        if (name.ends_with(colon)) {
            name.remove_suffix(colon.size());
            break;
        }
    }
    return name;
}

std::vector<ControlId> tab_order() {
    return tab_order(controls);
}

std::vector<ControlId> tab_order(std::span<const ControlLayout, control_count> controls) {
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
