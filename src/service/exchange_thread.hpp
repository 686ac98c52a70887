// The thread an HTTP exchange runs on while its caller waits. exchange_thread_posix.cpp waits
// on a condition variable; exchange_thread_win32.cpp waits with MsgWaitForMultipleObjects and
// dispatches the caller's messages meanwhile, so a caller that owns windows keeps them alive.
#pragma once

#include <chrono>
#include <functional>

namespace proxylist {

// Runs `exchange` on a new thread and waits until it has returned, at most `wait` at a time
// (on Windows the wait starts afresh after each round of the caller's messages). True when it
// returned in time; otherwise it is left to end by itself, so it must keep alive whatever it
// uses. Throws std::system_error when no thread can be had.
[[nodiscard]] bool run_on_exchange_thread(std::function<void()> exchange,
                                          std::chrono::milliseconds wait);

}  // namespace proxylist
