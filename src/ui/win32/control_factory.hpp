// Makes each control of the layout as a child window of the main window.
#pragma once

#include <windows.h>

#include "app/layout.hpp"
#include "ui/win32/control_geometry.hpp"

namespace proxylist {

// Creates the control's window inside `parent` with the settings and the initial content of
// its layout, not yet placed and not shown; null when the window system refuses.
[[nodiscard]] HWND create_control_window(const ControlLayout& layout, HWND parent,
                                         HINSTANCE instance);

// Gives the control the font and puts it in its place at the scale.
void fit_control(HWND control, const ControlLayout& layout, HFONT font,
                 const PlacementMetrics& metrics);

// The drop-down list's open list, or null for other controls.
[[nodiscard]] HWND drop_down_list_of(HWND combo_box) noexcept;

}  // namespace proxylist
