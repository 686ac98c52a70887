// The binding of the buttons to their handlers, fixed when the program is built.
#pragma once

#include "app/click_handlers.hpp"

namespace proxylist {

class MainWindow;

// 按钮1 runs handle_extract_click, 按钮2 handle_save_click, with `app`, which must outlive
// the window.
void wire_click_handlers(MainWindow& window, const AppContext& app);

}  // namespace proxylist
