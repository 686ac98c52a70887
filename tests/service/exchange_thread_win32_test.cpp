// The caller's wait on Windows: a thread that owns a window keeps handling that window's messages
// while fetch_page waits for its exchange, and the wait ends when the exchange ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "loopback_http_server.hpp"
#include "service/exchange_thread.hpp"
#include "service/page_fetch.hpp"
#include "system_proxy.hpp"

using namespace proxylist;
using namespace std::chrono_literals;
using test_support::http_response;
using test_support::LoopbackHttpServer;
using test_support::ScriptedAnswer;

namespace {

constexpr UINT posted_message = WM_APP + 1;
constexpr UINT_PTR tick_timer = 1;

// An event handle that closes itself; shared with an exchange that may outlive the test's wait.
struct Event {
    Event() : handle(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { ::CloseHandle(handle); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    HANDLE handle;
};

// What the window saw, and when to let the exchange end.
struct WindowState {
    int posted = 0;
    int ticks = 0;
    int ticks_before_release = 0;  // 0: never
    std::shared_ptr<Event> release;
};

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(l);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* state = reinterpret_cast<WindowState*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (state != nullptr && message == posted_message) {
        ++state->posted;
        return 0;
    }
    if (state != nullptr && message == WM_TIMER) {
        ++state->ticks;
        if (state->ticks == state->ticks_before_release && state->release) {
            ::SetEvent(state->release->handle);
        }
        return 0;
    }
    return ::DefWindowProcA(window, message, w, l);
}

// A message-only window of the test's thread, with a timer that ticks every 20 ms.
class TickingWindow {
  public:
    explicit TickingWindow(WindowState& state) {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = window_procedure;
        window_class.hInstance = ::GetModuleHandleA(nullptr);
        window_class.lpszClassName = class_name;
        ::RegisterClassA(&window_class);  // fails harmlessly when a previous test registered it
        window_ = ::CreateWindowExA(0, class_name, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    window_class.hInstance, &state);
        ::SetTimer(window_, tick_timer, 20, nullptr);
    }
    ~TickingWindow() {
        ::KillTimer(window_, tick_timer);
        ::DestroyWindow(window_);
    }
    TickingWindow(const TickingWindow&) = delete;
    TickingWindow& operator=(const TickingWindow&) = delete;

    [[nodiscard]] HWND get() const { return window_; }

  private:
    static constexpr const char* class_name = "ExchangeWaitTestWindow";
    HWND window_ = nullptr;
};

// Takes every message left for this thread, so that one test's leftovers cannot reach the next.
void drain_thread_queue() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(ExchangeWait, DispatchesTheWindowsMessagesUntilTheExchangeEnds) {
    WindowState state;
    state.release = std::make_shared<Event>();
    state.ticks_before_release = 3;
    const TickingWindow window(state);
    ASSERT_NE(window.get(), nullptr);
    ::PostMessageA(window.get(), posted_message, 0, 0);
    // The exchange ends only once the window has handled three ticks during the wait.
    const bool ended = run_on_exchange_thread(
        [release = state.release] { ::WaitForSingleObject(release->handle, 30000); }, 20000ms);
    EXPECT_TRUE(ended);
    EXPECT_EQ(state.posted, 1);
    EXPECT_GE(state.ticks, 3);
    drain_thread_queue();
}

TEST(ExchangeWait, QuitMessageIsKeptAndTheWaitStillRunsOut) {
    auto never = std::make_shared<Event>();
    ::PostQuitMessage(7);
    // With the quit message waiting the wait ends at its bound, not when the exchange ends.
    const bool ended =
        run_on_exchange_thread([never] { ::WaitForSingleObject(never->handle, 20000); }, 300ms);
    EXPECT_FALSE(ended);
    MSG message{};
    ASSERT_TRUE(::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    ::SetEvent(never->handle);
    drain_thread_queue();
}

TEST(ExchangeWait, WindowStaysAliveDuringASlowFetch) {
    const test_support::SystemProxy no_proxy;
    LoopbackHttpServer server;
    server.answer_always(
        ScriptedAnswer{.bytes = http_response(200, "", "slow list"), .delay = 1000ms});
    WindowState state;
    const TickingWindow window(state);
    ASSERT_NE(window.get(), nullptr);
    ::PostMessageA(window.get(), posted_message, 0, 0);
    const FetchTimeouts timeouts{
        .connect = 5000ms, .send = 5000ms, .receive = 10000ms, .wait = 20000ms};
    EXPECT_EQ(fetch_page(Text(server.url("/get_ip.php")), timeouts), Text("slow list"));
    EXPECT_EQ(state.posted, 1);
    EXPECT_GE(state.ticks, 1);
    drain_thread_queue();
}

}  // namespace
