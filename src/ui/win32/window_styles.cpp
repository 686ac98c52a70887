#include "ui/win32/window_styles.hpp"

#include <variant>

#include "ui/win32/self_painted_label.hpp"

namespace proxylist {
namespace {

constexpr int first_control_window_id = 1001;

DWORD common_child_style(const ControlLayout& control) {
    DWORD style = WS_CHILD;
    if (control.tab_stop) {
        style |= WS_TABSTOP;
    }
    if (!control.enabled) {
        style |= WS_DISABLED;
    }
    return style;
}

WindowStyles label_styles(const LabelSettings& label) {
    return {label.alignment == TextAlignment::centre ? label_centred : label_left_aligned, 0};
}

WindowStyles edit_box_styles(const EditBoxSettings& box) {
    DWORD style = box.alignment == TextAlignment::centre ? ES_CENTER : ES_LEFT;
    if (box.lines == LineMode::multi) {
        // Lines are added at the bottom; the box follows them down.
        style |= ES_MULTILINE | ES_AUTOVSCROLL;
    }
    if (box.scroll_bars == ScrollBars::vertical) {
        style |= WS_VSCROLL;
    }
    if (box.scrolls_sideways) {
        style |= ES_AUTOHSCROLL;
    }
    if (box.enter_inserts_line_break) {
        style |= ES_WANTRETURN;
    }
    if (!box.hides_selection_without_focus) {
        style |= ES_NOHIDESEL;
    }
    if (box.read_only) {
        style |= ES_READONLY;
    }
    return {style, box.sunken_border ? static_cast<DWORD>(WS_EX_CLIENTEDGE) : 0};
}

WindowStyles button_styles(const ButtonSettings& button) {
    // The caption sits in the middle both ways.
    DWORD style = (button.is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_CENTER | BS_VCENTER;
    if (button.caption_wraps) {
        style |= BS_MULTILINE;
    }
    return {style, 0};
}

WindowStyles combo_box_styles(const ComboBoxSettings& combo) {
    DWORD style = combo.editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
    if (combo.sorted) {
        style |= CBS_SORT;
    }
    if (combo.list_scroll_bars == ScrollBars::vertical) {
        style |= WS_VSCROLL;
    }
    return {style, 0};
}

struct KindStyles {
    ControlWindowClass operator()(const LabelSettings& s) const {
        return {label_class_name, label_styles(s)};
    }
    ControlWindowClass operator()(const EditBoxSettings& s) const {
        return {L"Edit", edit_box_styles(s)};
    }
    ControlWindowClass operator()(const ButtonSettings& s) const {
        return {L"Button", button_styles(s)};
    }
    ControlWindowClass operator()(const ComboBoxSettings& s) const {
        return {L"ComboBox", combo_box_styles(s)};
    }
};

}  // namespace

WindowStyles main_window_styles(const WindowLayout& window) noexcept {
    // Controls paint themselves; the window's background never paints over them.
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    if (window.has_system_menu) {
        style |= WS_SYSMENU;
    }
    if (window.has_minimise_button) {
        style |= WS_MINIMIZEBOX;
    }
    if (window.has_maximise_button) {
        style |= WS_MAXIMIZEBOX;
    }
    if (window.resizable) {
        style |= WS_THICKFRAME;
    }
    return {style, window.always_on_top ? static_cast<DWORD>(WS_EX_TOPMOST) : 0};
}

ControlWindowClass control_window_class(const ControlLayout& control) noexcept {
    ControlWindowClass result = std::visit(KindStyles{}, control.settings);
    result.styles.style |= common_child_style(control);
    return result;
}

int control_window_id(ControlId id) noexcept {
    return first_control_window_id + static_cast<int>(id);
}

bool control_id_of_window_id(int window_id, ControlId& id) noexcept {
    const int index = window_id - first_control_window_id;
    if (index < 0 || index >= static_cast<int>(control_count)) {
        return false;
    }
    id = static_cast<ControlId>(index);
    return true;
}

}  // namespace proxylist
