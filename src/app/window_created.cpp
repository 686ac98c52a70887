#include "app/window_created.hpp"

namespace proxylist {

// The style the product uses; the window is first shown already in it.
constexpr int product_visual_style = 2;

void handle_window_created(VisualStyle& style, Controls& controls) {
    style.switch_on(product_visual_style);
    controls.set_combo_current_item(ControlId::组合框1, 0);
}

}  // namespace proxylist
