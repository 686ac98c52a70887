// What the main window tells an X11 window manager and hears from it. On other platforms
// (offscreen, Wayland) these do nothing.
#pragma once

#include <QByteArray>

class QWindow;

namespace proxylist {

// Takes moving and resizing out of what the window manager offers for the window (its menu,
// its frame, dragging) where the layout forbids them; Qt always offers both.
void withhold_window_functions(QWindow& window, bool movable, bool resizable);

// Whether a native event of the window may come with a new frame around it: the window manager
// has put it into a frame, moved or mapped it, or changed one of its properties (the frame's
// extents among them).
[[nodiscard]] bool may_bring_a_new_frame(const QByteArray& event_type, const void* message);

}  // namespace proxylist
