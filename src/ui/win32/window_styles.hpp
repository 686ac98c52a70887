// The window-system settings that the layout table implies: the window class and the style bits
// of the main window and of every control. Each bit is derived from a field of the table, so the
// window is the table.
#pragma once

#include <windows.h>

#include "app/layout.hpp"

namespace proxylist {

struct WindowStyles {
    DWORD style;
    DWORD ex_style;
};

[[nodiscard]] WindowStyles main_window_styles(const WindowLayout& window) noexcept;

struct ControlWindowClass {
    const wchar_t* class_name;
    // Without WS_VISIBLE: each control is shown or hidden once all of them exist.
    WindowStyles styles;
};

[[nodiscard]] ControlWindowClass control_window_class(const ControlLayout& control) noexcept;

// The child-window identifier of a control (GetDlgCtrlID), and back.
[[nodiscard]] int control_window_id(ControlId id) noexcept;
[[nodiscard]] bool control_id_of_window_id(int window_id, ControlId& id) noexcept;

}  // namespace proxylist
