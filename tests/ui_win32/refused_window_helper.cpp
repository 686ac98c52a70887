// The program as shipped, started on a window system that refuses its main window: the shell
// tells the user in a message box and ends with exit code -1.
#include <windows.h>

#include "ui/win32/main_window.hpp"
#include "ui/win32/shell.hpp"
#include "ui/win32/start_failure.hpp"

namespace {

// Refuses the creation of the program's main window, and only that.
LRESULT CALLBACK refuse_main_window(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
        wchar_t name[64] = {};
        GetClassNameW(reinterpret_cast<HWND>(wparam), name, 64);
        if (lstrcmpW(name, proxylist::main_window_class_name) == 0) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    SetWindowsHookExW(WH_CBT, refuse_main_window, nullptr, GetCurrentThreadId());
    proxylist::leave_process(proxylist::run_shell(instance, show_command));
}
