// What happens when the main window cannot be made: the user is told (in a message box where
// one can be shown, on standard error otherwise) and the program ends with exit code -1.
#pragma once

#include <QString>

namespace proxylist {

// While it lives, a fatal error from Qt (no display to open, no platform plugin to load) is
// reported this way instead of aborting the process.
class StartFailureGuard {
  public:
    StartFailureGuard();
    ~StartFailureGuard();
    StartFailureGuard(const StartFailureGuard&) = delete;
    StartFailureGuard& operator=(const StartFailureGuard&) = delete;

  private:
    QtMessageHandler previous_;
};

[[noreturn]] void report_window_failure(const QString& reason);

// Leaves the process at once with the exit code: output flushed, no static destructors, no
// waiting for threads (a running extraction is simply gone).
[[noreturn]] void leave_process(int exit_code);

}  // namespace proxylist
