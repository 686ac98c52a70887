#include "ui/win32/start_failure.hpp"

#include <windows.h>

#include "app/layout.hpp"
#include "ui/win32/wide_text.hpp"

namespace proxylist {

void report_window_failure() noexcept {
    MessageBoxW(nullptr, L"无法创建主窗口，程序将退出。",
                wide_from_utf8(main_window_layout().title).c_str(), MB_OK | MB_ICONERROR);
    leave_process(-1);
}

void leave_process(int exit_code) noexcept {
    ExitProcess(static_cast<UINT>(exit_code));
}

}  // namespace proxylist
