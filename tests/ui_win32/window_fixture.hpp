// The real window as the program builds it, for the window tests: made from the layout table,
// the creation-complete handler run, its clicks wired to a context the test owns, shown. The
// test's own thread is the UI thread; it runs the messages while it waits (pump_until).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/click_handlers.hpp"
#include "app/layout.hpp"
#include "ui/win32/main_window.hpp"
#include "ui/win32/visual_style.hpp"
#include "ui/win32/win32_controls.hpp"

namespace proxylist::testing {

using namespace std::chrono_literals;

// Long enough for a loaded two-core machine; a condition that holds ends the wait at once.
inline constexpr std::chrono::milliseconds patient = 20s;

class WindowUnderTest {
  public:
    // Shown and active unless `show` is false.
    explicit WindowUnderTest(bool show = true);
    ~WindowUnderTest();
    WindowUnderTest(const WindowUnderTest&) = delete;
    WindowUnderTest& operator=(const WindowUnderTest&) = delete;

    [[nodiscard]] MainWindow& window() noexcept { return window_; }
    [[nodiscard]] HWND handle() const noexcept { return window_.handle(); }
    [[nodiscard]] HWND control(ControlId id) const noexcept { return window_.control(id); }
    [[nodiscard]] Win32Controls& controls() noexcept { return *controls_; }
    [[nodiscard]] Win32VisualStyle& style() noexcept { return style_; }
    // The context the clicks run with; the test sets the service URL and the run directory.
    [[nodiscard]] AppContext& app() noexcept { return app_; }
    [[nodiscard]] bool destroyed() const noexcept { return destroyed_; }
    // The buttons clicked so far, in order.
    [[nodiscard]] const std::vector<ControlId>& clicks() const noexcept { return clicks_; }
    // Clicks are recorded and, unless switched off here, run the program's handlers.
    void run_handlers(bool run) noexcept { run_handlers_ = run; }

  private:
    MainWindow window_;
    std::shared_ptr<Win32Controls> controls_;
    Win32VisualStyle style_;
    AppContext app_;
    bool destroyed_ = false;
    bool run_handlers_ = true;
    std::vector<ControlId> clicks_;
};

// Runs the UI thread's messages, with the window's own keys as the program's loop applies
// them, until `done` holds or `bound` has passed; whether it holds.
bool pump_until(MainWindow* window, const std::function<bool()>& done,
                std::chrono::milliseconds bound = patient);

// Runs the messages that are waiting now, and those they cause, for `span`. Only for waiting
// for something that must not happen.
void pump_for(MainWindow* window, std::chrono::milliseconds span);

[[nodiscard]] std::wstring window_text(HWND window);
[[nodiscard]] std::wstring wide(std::string_view utf8);
// For messages of failed checks.
[[nodiscard]] std::string utf8(std::wstring_view text);
[[nodiscard]] std::string class_name(HWND window);

// The control's rectangle in the client coordinates of its parent.
[[nodiscard]] RECT rectangle_in_parent(HWND control);

// Real input, as the keyboard and the mouse give it (SendInput): it goes to the window that
// has the focus, or is under the pointer.
void press_key(WORD key, bool with_shift = false);
void type_text(std::wstring_view text);
void click(HWND control, int clicks = 1);

// The foreground window with the focus in `control`, as after the user clicked into it.
bool focus_control(MainWindow& window, HWND control);

}  // namespace proxylist::testing
