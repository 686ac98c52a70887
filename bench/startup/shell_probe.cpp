// The program exactly as shipped, reporting its first paint.
#include "first_paint.hpp"
#include "ui/qt/main_window.hpp"
#include "ui/qt/shell.hpp"
#include "ui/qt/start_failure.hpp"

int main(int argc, char** argv) {
    proxylist::ShellHooks hooks;
    hooks.before_show = [](proxylist::MainWindow& window) {
        proxylist::bench::report_first_paint_and_leave(window);
    };
    proxylist::leave_process(proxylist::run_shell(argc, argv, hooks));
}
