#include "ui/win32/control_geometry.hpp"

#include <algorithm>
#include <variant>

#include "ui/win32/dpi.hpp"

namespace proxylist {

RECT control_rectangle(const ControlLayout& control, const PlacementMetrics& metrics) noexcept {
    const Placement& place = control.place;
    const int left = scaled(place.left, metrics.dpi);
    const int top = scaled(place.top, metrics.dpi);
    const int width = scaled(place.width, metrics.dpi);
    int height = scaled(place.height, metrics.dpi);
    if (const auto* box = std::get_if<EditBoxSettings>(&control.settings);
        box != nullptr && box->lines == LineMode::single) {
        height = std::max(height, metrics.font_line_height + 2 * metrics.edge_height);
    } else if (const auto* combo = std::get_if<ComboBoxSettings>(&control.settings)) {
        height = scaled(combo->height_with_list, metrics.dpi);
    }
    return {left, top, left + width, top + height};
}

RECT main_window_rectangle(const WindowLayout& window, int dpi, int screen_width,
                           int screen_height) noexcept {
    const int width = scaled(window.outer_width, dpi);
    const int height = scaled(window.outer_height, dpi);
    const int left = centred_origin(screen_width, width);
    const int top = centred_origin(screen_height, height);
    return {left, top, left + width, top + height};
}

}  // namespace proxylist
