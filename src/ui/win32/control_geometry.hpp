// Where each control goes at the window's scale.
#pragma once

#include <windows.h>

#include "app/layout.hpp"

namespace proxylist {

// What the placement needs to know of the font and the system at the window's scale.
struct PlacementMetrics {
    int dpi;
    // One line of the control font.
    int font_line_height;
    // SM_CYEDGE at that scale.
    int edge_height;
};

// The rectangle a control is created with, in client coordinates of the main window:
// the layout's at the scale; a single-line box at least one line of its font and its border
// tall; a drop-down list with the height that leaves its open list room.
[[nodiscard]] RECT control_rectangle(const ControlLayout& control,
                                     const PlacementMetrics& metrics) noexcept;

// The main window's outer rectangle: the layout's size at the scale, centred on a screen of
// the given size (each quotient truncated toward zero).
[[nodiscard]] RECT main_window_rectangle(const WindowLayout& window, int dpi, int screen_width,
                                         int screen_height) noexcept;

}  // namespace proxylist
