#include <windows.h>

#include <memory>
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

// Every message that waits for this thread is dispatched. A quit message is put back, so that
// the message loop of a thread that owns windows still ends when it should.
void dispatch_waiting_messages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
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
    bool ended = false;
    for (;;) {
        const DWORD woken =
            ::MsgWaitForMultipleObjects(1, &thread, FALSE, milliseconds(wait), QS_ALLEVENTS);
        if (woken == WAIT_OBJECT_0 + 1) {
            dispatch_waiting_messages();
            ::Sleep(10);
            continue;
        }
        ended = woken == WAIT_OBJECT_0;
        break;
    }
    ::CloseHandle(thread);
    return ended;
}

}  // namespace proxylist
