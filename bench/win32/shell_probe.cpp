// The program itself, started as it ships (run_shell), reporting its first paint.
#include <windows.h>

#include "first_paint_report.hpp"
#include "ui/win32/shell.hpp"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    proxylist::ShellHooks hooks;
    hooks.after_show = [](proxylist::MainWindow&, const proxylist::AppContext&) {
        proxylist::bench::report_first_paint_and_leave();
    };
    return proxylist::run_shell(instance, show_command, hooks);
}
