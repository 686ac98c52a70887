#include <windows.h>

#include "ui/win32/shell.hpp"
#include "ui/win32/start_failure.hpp"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    // Leaving at once, rather than returning, lets a running extraction end with the process.
    proxylist::leave_process(proxylist::run_shell(instance, show_command));
}
