// What happens once the main window and all its controls exist, before it is first shown.
#pragma once

#include "app/controls.hpp"
#include "app/visual_style.hpp"

namespace proxylist {

// Switches on visual style 2, then makes item 0 of 组合框1 current (the layout already does;
// setting it again shows "全部运营商" whatever happened before). Runs on the GUI thread.
void handle_window_created(VisualStyle& style, Controls& controls);

}  // namespace proxylist
