#include "ui/win32/event_wiring.hpp"

namespace proxylist {

void dispatch_click(ControlId button, const AppContext& app) {
    switch (button) {
        case ControlId::按钮1:
            handle_extract_click(app);
            break;
        case ControlId::按钮2:
            handle_save_click(app);
            break;
        default:
            break;
    }
}

}  // namespace proxylist
