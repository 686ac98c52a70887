// The program from start to end: start-up in its fixed order, the message loop, the exit code.
#pragma once

#include <windows.h>

#include <functional>

#include "app/click_handlers.hpp"

namespace proxylist {

class MainWindow;

// Places where a benchmark or a test program can look in; the product passes none.
struct ShellHooks {
    // The window has been created and the creation-complete handler has run; not yet shown.
    std::function<void(MainWindow&)> before_show;
    // The window is shown; the message loop is about to run.
    std::function<void(MainWindow&, const AppContext&)> after_show;
};

// Runs the program and returns its exit code (0 once the window has closed); the caller then
// leaves with leave_process(). A window that cannot be created ends the process here with
// exit code -1, after a message box.
[[nodiscard]] int run_shell(HINSTANCE instance, int show_command, const ShellHooks& hooks = {});

// Takes, translates and dispatches messages until the quit message; the window's own keys are
// applied on the way. Returns the quit message's exit code.
int run_message_loop(MainWindow& window);

}  // namespace proxylist
