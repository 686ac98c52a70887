// The program as shipped whose heap runs out on a worker thread once the window is shown: a
// message box that names the bytes, over the main window, then exit code -1.
#include <windows.h>

#include <thread>

#include "text/heap_exhausted.hpp"
#include "ui/win32/shell.hpp"
#include "ui/win32/start_failure.hpp"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    proxylist::ShellHooks hooks;
    hooks.after_show = [](proxylist::MainWindow&, const proxylist::AppContext&) {
        std::thread([] { proxylist::on_heap_exhausted(123456789); }).detach();
    };
    proxylist::leave_process(proxylist::run_shell(instance, show_command, hooks));
}
