// What the start-up probes report: the moment everything of the shown window has been painted
// (no paint left to do), and the process's peak working set at that moment.
#pragma once

#include <windows.h>

namespace proxylist::bench {

// Runs the thread's messages until none is waiting (the last WM_PAINT included), writes
// "<performance counter> <peak working set bytes>" to standard output and ends the process.
[[noreturn]] void report_first_paint_and_leave();

}  // namespace proxylist::bench
