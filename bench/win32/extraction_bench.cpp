// Click to list under Wine: the real window and handlers against a service on loopback that
// answers like the demo service, 10 000 addresses. Prints medians of: click to list, 编辑框4
// taking the list, and the UI thread's longest stretch without running its message loop.
// Run under Wine with an X display (bench/win32/run_win32_bench.sh does, beside the Linux
// build's bench/end_to_end/extraction_bench).
//
//   win32_extraction_bench [RUNS]          (default 15)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/layout.hpp"
#include "app/window_created.hpp"
#include "demo_page.hpp"
#include "loopback_http_server.hpp"
#include "ui/win32/event_wiring.hpp"
#include "ui/win32/main_window.hpp"
#include "ui/win32/visual_style.hpp"
#include "ui/win32/win32_controls.hpp"

using namespace proxylist;
using Clock = std::chrono::steady_clock;

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs the message loop until `done`; the longest time one pass of the loop took, in ms.
template <typename Done>
double pump_until(MainWindow& window, Done done) {
    double longest = 0;
    for (;;) {
        const auto pass = Clock::now();
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!window.handle_window_keys(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        longest = std::max(longest, ms_since(pass));
        if (done()) {
            return longest;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    test_support::LoopbackHttpServer server;
    server.set_handler([](const std::string& request) {
        const std::string target = test_support::request_target(request);
        const std::size_t query = target.find('?');
        const std::string page = demo::demo_list_page(
            demo::parse_query(query == std::string::npos ? "" : target.substr(query + 1)));
        return test_support::ScriptedAnswer{
            .bytes = test_support::http_response(200, "Content-Type: text/html\r\n", page)};
    });

    const INITCOMMONCONTROLSEX common_controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common_controls);
    MainWindow window(main_window_layout(), main_window_controls());
    if (!window.create(GetModuleHandleW(nullptr))) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }
    auto controls = std::make_shared<Win32Controls>(window);
    AppContext app;
    app.controls = controls;
    app.service_url = Text(server.url("/get_ip.php"));
    window.set_events(
        {.clicked = [&app](ControlId button) { dispatch_click(button, app); }, .destroyed = {}});
    Win32VisualStyle style;
    handle_window_created(style, *controls);
    window.show(SW_SHOWNORMAL);
    pump_until(window, [] { return true; });

    const HWND button = window.control(ControlId::按钮1);
    controls->set_edit_text(ControlId::编辑框1, "10000");
    std::vector<double> click_to_list;
    std::vector<double> longest_pass;
    for (int i = 0; i < runs; ++i) {
        controls->set_edit_text(ControlId::编辑框4, Text());
        const auto clicked = Clock::now();
        SendMessageW(button, BM_CLICK, 0, 0);
        longest_pass.push_back(pump_until(window, [&] {
            return IsWindowEnabled(button) &&
                   GetWindowTextLengthW(window.control(ControlId::编辑框4)) > 0;
        }));
        click_to_list.push_back(ms_since(clicked));
    }
    const Text list = controls->edit_text(ControlId::编辑框4);
    const auto lines = std::count(list.view().begin(), list.view().end(), '\n');

    std::vector<double> taking;
    for (int i = 0; i < runs; ++i) {
        controls->set_edit_text(ControlId::编辑框4, Text());
        const auto start = Clock::now();
        controls->set_edit_text(ControlId::编辑框4, list);
        UpdateWindow(window.control(ControlId::编辑框4));
        taking.push_back(ms_since(start));
    }

    // The same text into a plain multi-line edit control of the window system, with nothing of
    // the program's around it: what the control itself costs.
    HWND plain_window = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND plain = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"Edit", L"",
        WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 0, 0,
        160, 176, plain_window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(plain, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    SendMessageW(plain, EM_SETLIMITTEXT, 0, 0);
    std::vector<double> plain_taking;
    for (int i = 0; i < runs; ++i) {
        SetWindowTextA(plain, "");
        const auto start = Clock::now();
        SetWindowTextA(plain, list.c_str());
        UpdateWindow(plain);
        plain_taking.push_back(ms_since(start));
    }

    std::printf("click to list, %lld addresses over loopback (median of %d): %8.2f ms\n",
                static_cast<long long>(lines), runs, median(click_to_list));
    std::printf("of which 编辑框4 taking the list and painting  (median of %d): %8.2f ms\n", runs,
                median(taking));
    std::printf("a plain edit control taking the same list   (median of %d): %8.2f ms\n", runs,
                median(plain_taking));
    std::printf("UI thread longest pass of its loop meanwhile (median of %d): %8.2f ms\n", runs,
                median(longest_pass));
    std::fflush(stdout);
    ExitProcess(0);
}
