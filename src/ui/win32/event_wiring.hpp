// Which handler a click runs. Fixed when the program is built: 按钮1 extracts, 按钮2 saves.
#pragma once

#include "app/click_handlers.hpp"
#include "app/control_id.hpp"

namespace proxylist {

void dispatch_click(ControlId button, const AppContext& app);

}  // namespace proxylist
