// The font every control uses: the system's default family, at the size of the classic
// default GUI font (12 pixels), at which every caption, item and initial text of the layout
// fits its control.
#pragma once

namespace proxylist {

// Makes it the application's font; before the window is created.
void use_default_gui_font();

}  // namespace proxylist
