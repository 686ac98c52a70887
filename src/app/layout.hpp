// The main window as data: the window's settings and its fourteen controls in creation order.
// Every front-end builds its window from this table and nothing else, so the Linux and the
// Windows window cannot drift apart. Texts are UTF-8, as written here; a front-end converts
// them to what its window system takes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "app/control_id.hpp"

namespace proxylist {

struct Colour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour black{0, 0, 0};
inline constexpr Colour white{255, 255, 255};

// Pixels; left and top from the top-left corner of the window's client area.
struct Placement {
    int left;
    int top;
    int width;
    int height;
    friend constexpr bool operator==(const Placement&, const Placement&) = default;
};

enum class ControlKind { label, edit_box, button, combo_box };
enum class TextAlignment { left, centre };
enum class LineMode { single, multi };
enum class ScrollBars { none, vertical };

// The values a whole-number box keeps after its correction on focus loss.
struct WholeNumberRange {
    std::int64_t min;
    std::int64_t max;
    friend constexpr bool operator==(const WholeNumberRange&, const WholeNumberRange&) = default;
};

inline constexpr WholeNumberRange short_range{-32768, 32767};
inline constexpr WholeNumberRange int_range{-2147483648LL, 2147483647LL};

struct WindowLayout {
    std::string_view title;
    // Outer size: frame and title bar included.
    int outer_width;
    int outer_height;
    bool resizable;
    bool has_system_menu;
    bool has_close_button;
    bool has_minimise_button;
    bool has_maximise_button;
    // Whether the user may move the window (the system menu's Move command, dragging the title).
    bool movable;
    bool always_on_top;
    bool escape_closes;
};

// A label paints itself: a fill in the window's background colour and one line of black
// text, centred vertically. Never a tab stop.
struct LabelSettings {
    TextAlignment alignment;
    Colour text_colour;
};

struct EditBoxSettings {
    LineMode lines;
    // A single-line box has none.
    ScrollBars scroll_bars;
    TextAlignment alignment;
    // Present for boxes that take whole numbers only.
    std::optional<WholeNumberRange> whole_number;
    Colour text_colour;
    Colour background;
    bool sunken_border;
    // 0: no limit of the box's own; the window system's maximum applies.
    std::int32_t length_limit;
    bool hides_selection_without_focus;
    // The text may run past the right edge and scrolls sideways. Without it a single-line box
    // takes no more than fits, and a multi-line box wraps its lines at the edge.
    bool scrolls_sideways;
    // Enter inserts a line break (a multi-line box only); otherwise the box leaves Enter alone.
    bool enter_inserts_line_break;
    bool read_only;
};

struct ButtonSettings {
    bool is_default;
    // A caption too wide for one line goes on over further lines instead of being cut off.
    bool caption_wraps;
};

struct ComboBoxSettings {
    std::span<const std::string_view> items;
    std::int32_t current_item;
    bool editable;
    // The list shows its items in sorted order, not in the order given.
    bool sorted;
    // The height the control is created with so that its open list has room; the closed
    // height follows from the font.
    int height_with_list;
    // Each item of the open list is this much taller than the window system's default.
    int extra_item_height;
    ScrollBars list_scroll_bars;
    Colour text_colour;
    Colour background;
};

using ControlSettings =
    std::variant<LabelSettings, EditBoxSettings, ButtonSettings, ComboBoxSettings>;

struct ControlLayout {
    ControlId id;
    ControlKind kind;
    Placement place;
    // The initial text of an edit box, the text of a label, the caption of a button; empty for
    // the combo box, whose items are in its settings.
    std::string_view text;
    bool tab_stop;
    bool visible;
    bool enabled;
    ControlSettings settings;
    // What a screen reader calls the control: the label in front of it, or else a name of its
    // own. Buttons and labels without either go by their text.
    std::optional<ControlId> label = std::nullopt;
    std::string_view own_name = {};
};

[[nodiscard]] const WindowLayout& main_window_layout() noexcept;

// All fourteen controls, in creation order.
[[nodiscard]] std::span<const ControlLayout, control_count> main_window_controls() noexcept;

[[nodiscard]] const ControlLayout& control_layout(ControlId id) noexcept;

// The name a screen reader gives the control: its own name, else the text of its label in
// `controls` without the closing colon, else its own text.
[[nodiscard]] std::string_view accessible_name(
    const ControlLayout& control, std::span<const ControlLayout, control_count> controls) noexcept;

// The controls that Tab visits, in the order it visits them: the tab stops in creation order.
[[nodiscard]] std::vector<ControlId> tab_order(
    std::span<const ControlLayout, control_count> controls);
[[nodiscard]] std::vector<ControlId> tab_order();

// Where a window of the given extent starts so that it is centred on a screen of the given
// extent; the quotient is truncated toward zero, also when the window is the larger.
[[nodiscard]] constexpr int centred_origin(int screen_extent, int window_extent) noexcept {
    return (screen_extent - window_extent) / 2;
}

// The item that becomes current when item `requested` of a drop-down list with `item_count`
// items is asked for: above the last index the last item, below -1 none (-1).
[[nodiscard]] std::int32_t combo_item_to_select(std::int32_t requested,
                                                std::int32_t item_count) noexcept;

}  // namespace proxylist
