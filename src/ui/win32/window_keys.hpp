// The keys the main window answers itself, whichever control has the focus: Tab and Shift+Tab
// step through the tab order (round from the last to the first), Esc closes the window, and
// Enter in a one-line box does nothing. They are taken in the message loop, before the
// control with the focus sees them.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <span>

#include "app/control_id.hpp"

namespace proxylist {

// The control that Tab (forward) or Shift+Tab moves the focus to from `from`, given the tab
// stops that take the focus now, in creation order. From a control that is no tab stop, or
// from none, it goes to the next (or previous) stop in creation order. Nothing when no stop
// takes the focus.
[[nodiscard]] std::optional<ControlId> next_in_tab_order(std::span<const ControlId> stops,
                                                         std::optional<ControlId> from,
                                                         bool forward) noexcept;

struct WindowKeyTarget {
    HWND window;
    std::span<const HWND, control_count> controls;
    bool escape_closes;
};

// Applies the window's keys to a message taken from the queue; true when the message has been
// used and must not be dispatched.
bool apply_window_keys(const WindowKeyTarget& target, const MSG& message);

}  // namespace proxylist
