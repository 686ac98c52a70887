// The program's report of an exhausted heap: a message box with the number of bytes asked for,
// then exit code -1. Nothing here takes memory from the heap that ran out.
#include <windows.h>

#include "app/layout.hpp"
#include "text/heap_exhausted.hpp"
#include "ui/win32/main_window.hpp"
#include "ui/win32/start_failure.hpp"

namespace proxylist {
namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK find_main_window(HWND window, LPARAM lparam) {
    auto& search = *reinterpret_cast<Search*>(lparam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t class_name[64] = {};
    GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
    if (process == search.process && lstrcmpW(class_name, main_window_class_name) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void on_heap_exhausted(std::size_t requested_bytes) noexcept {
    char message[160];
    format_heap_exhausted_message(requested_bytes, message, sizeof message);
    wchar_t wide[160] = {};
    MultiByteToWideChar(CP_UTF8, 0, message, -1, wide, static_cast<int>(std::size(wide)) - 1);
    const std::string_view title_utf8 = main_window_layout().title;
    wchar_t title[64] = {};
    MultiByteToWideChar(CP_UTF8, 0, title_utf8.data(), static_cast<int>(title_utf8.size()), title,
                        static_cast<int>(std::size(title)) - 1);
    // The box belongs to the main window, whichever thread ran out: the window takes no input
    // while it shows, so it cannot be closed under the box and end the program with 0.
    Search search{GetCurrentProcessId(), nullptr};
    EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&search));
    MessageBoxW(search.found, wide, title, MB_OK | MB_ICONERROR);
    leave_process(-1);
}

}  // namespace proxylist
