// The two ways the program ends: after its window has closed, at once and without waiting for
// a running extraction; or, when the window cannot be made, after telling the user so.
#pragma once

namespace proxylist {

// Says in a message box that the main window cannot be created and ends with exit code -1.
[[noreturn]] void report_window_failure() noexcept;

// Ends the process with the exit code, without waiting for any thread (a running extraction
// is simply gone).
[[noreturn]] void leave_process(int exit_code) noexcept;

}  // namespace proxylist
