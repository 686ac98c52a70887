#include <windows.h>

#include <memory>
#include <optional>
#include <system_error>

#include "service/exchange_thread.hpp"

namespace proxylist {
namespace {

DWORD WINAPI exchange_thread_main(void* parameter) {
    const std::unique_ptr<std::function<void()>> exchange(
        static_cast<std::function<void()>*>(parameter));
    (*exchange)();
    return 0;
}

// Every message that waits for this thread is dispatched, up to a quit message: that one is
// taken and its exit code given back, to be put back once the wait is over.
std::optional<int> dispatch_waiting_messages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return static_cast<int>(message.wParam);
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return std::nullopt;
}

DWORD milliseconds(std::chrono::milliseconds wait) noexcept {
    if (wait.count() <= 0) {
        return 0;
    }
    // INFINITE is 0xFFFFFFFF; anything longer than the largest finite wait is cut to it.
    return wait.count() >= static_cast<long long>(INFINITE) ? INFINITE - 1
                                                            : static_cast<DWORD>(wait.count());
}

}  // namespace

bool run_on_exchange_thread(std::function<void()> exchange, std::chrono::milliseconds wait) {
    auto owned = std::make_unique<std::function<void()>>(std::move(exchange));
    HANDLE thread = ::CreateThread(nullptr, 0, exchange_thread_main, owned.get(), 0, nullptr);
    if (thread == nullptr) {
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                                "CreateThread");
    }
    static_cast<void>(owned.release());  // the thread owns it now
    // Once the thread's message loop has been asked to end, messages no longer shorten or renew
    // the wait: a quit message put back at once would wake the wait again and again, and the
    // wait would never run out. It is put back when the wait is over.
    std::optional<int> quit;
    bool ended = false;
    for (;;) {
        const DWORD woken =
            quit ? ::WaitForSingleObject(thread, milliseconds(wait))
                 : ::MsgWaitForMultipleObjects(1, &thread, FALSE, milliseconds(wait), QS_ALLEVENTS);
        if (!quit && woken == WAIT_OBJECT_0 + 1) {
            quit = dispatch_waiting_messages();
            ::Sleep(10);
            continue;
        }
        ended = woken == WAIT_OBJECT_0;
        break;
    }
    ::CloseHandle(thread);
    if (quit) {
        ::PostQuitMessage(*quit);
    }
    return ended;
}

}  // namespace proxylist
