// The program from start to end: start-up in its fixed order, the event loop, the exit code.
#pragma once

#include <functional>

#include "app/click_handlers.hpp"

namespace proxylist {

class MainWindow;

// Places where a benchmark or a test program can look in; the product passes none.
struct ShellHooks {
    // The window has been created and the creation-complete handler has run; not yet shown.
    std::function<void(MainWindow&)> before_show;
    // The window is shown; the event loop is about to run.
    std::function<void(MainWindow&, const AppContext&)> after_show;
};

// Runs the program and returns its exit code; the caller then leaves with leave_process().
// A window that cannot be created ends the process here with exit code -1.
[[nodiscard]] int run_shell(int& argc, char** argv, const ShellHooks& hooks = {});

}  // namespace proxylist
