#include "window_fixture.hpp"

#include <commctrl.h>

#include <vector>

#include "app/window_created.hpp"
#include "ui/win32/event_wiring.hpp"
#include "ui/win32/wide_text.hpp"

namespace proxylist::testing {
namespace {

void dispatch_waiting(MainWindow* window) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        if (window != nullptr && window->handle_window_keys(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void send(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT key_input(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

WindowUnderTest::WindowUnderTest(bool show)
    : window_(main_window_layout(), main_window_controls()) {
    const INITCOMMONCONTROLSEX common_controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common_controls);
    if (!window_.create(GetModuleHandleW(nullptr))) {
        return;
    }
    controls_ = std::make_shared<Win32Controls>(window_);
    app_.controls = controls_;
    window_.set_events({
        .clicked =
            [this](ControlId button) {
                clicks_.push_back(button);
                if (run_handlers_) {
                    dispatch_click(button, app_);
                }
            },
        .destroyed =
            [this] {
                controls_->window_gone();
                destroyed_ = true;
            },
    });
    handle_window_created(style_, *controls_);
    if (show) {
        window_.show(SW_SHOWNORMAL);
        SetForegroundWindow(window_.handle());
        pump_until(&window_, [this] { return GetForegroundWindow() == window_.handle(); });
    }
}

WindowUnderTest::~WindowUnderTest() {
    if (window_.handle() != nullptr) {
        DestroyWindow(window_.handle());
    }
    style_.switch_on(0);
    pump_for(nullptr, 0ms);
}

bool pump_until(MainWindow* window, const std::function<bool()>& done,
                std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        dispatch_waiting(window);
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pump_for(MainWindow* window, std::chrono::milliseconds span) {
    const auto deadline = std::chrono::steady_clock::now() + span;
    do {
        dispatch_waiting(window);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < deadline);
    dispatch_waiting(window);
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring wide(std::string_view utf8) {
    return wide_from_utf8(utf8);
}

std::string utf8(std::wstring_view text) {
    return utf8_from_wide(text);
}

std::string class_name(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return utf8_from_wide(name);
}

RECT rectangle_in_parent(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

void press_key(WORD key, bool with_shift) {
    std::vector<INPUT> inputs;
    if (with_shift) {
        inputs.push_back(key_input(VK_SHIFT, false));
    }
    inputs.push_back(key_input(key, false));
    inputs.push_back(key_input(key, true));
    if (with_shift) {
        inputs.push_back(key_input(VK_SHIFT, true));
    }
    send(inputs);
}

void type_text(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t c : text) {
        for (const bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    send(inputs);
}

void click(HWND control, int clicks) {
    RECT place{};
    GetWindowRect(control, &place);
    const int x = (place.left + place.right) / 2;
    const int y = (place.top + place.bottom) / 2;
    std::vector<INPUT> inputs;
    INPUT move{};
    move.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    move.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    move.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs.push_back(move);
    for (int i = 0; i < clicks; ++i) {
        for (const DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            INPUT button{};
            button.type = INPUT_MOUSE;
            button.mi.dwFlags = flag;
            inputs.push_back(button);
        }
    }
    send(inputs);
}

bool focus_control(MainWindow& window, HWND control) {
    SetForegroundWindow(window.handle());
    SetFocus(control);
    return pump_until(
        &window, [&] { return GetForegroundWindow() == window.handle() && GetFocus() == control; });
}

}  // namespace proxylist::testing
