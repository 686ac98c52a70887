#include "ui/win32/shell.hpp"

#include <commctrl.h>

#include <memory>

#include "app/files.hpp"
#include "app/layout.hpp"
#include "app/service_url.hpp"
#include "app/window_created.hpp"
#include "ui/win32/event_wiring.hpp"
#include "ui/win32/main_window.hpp"
#include "ui/win32/start_failure.hpp"
#include "ui/win32/visual_style.hpp"
#include "ui/win32/win32_controls.hpp"

namespace proxylist {

int run_shell(HINSTANCE instance, int show_command, const ShellHooks& hooks) {
    // 1. Prepare: what the commands need from the process, taken once.
    AppContext app;
    app.run_directory = run_directory();
    app.service_url = service_url();
    const INITCOMMONCONTROLSEX common_controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common_controls);

    // 2. Create the window from its layout, hidden, with all its controls.
    MainWindow window(main_window_layout(), main_window_controls());
    if (!window.create(instance)) {
        report_window_failure();
    }
    auto controls = std::make_shared<Win32Controls>(window);
    app.controls = controls;
    window.set_events({
        .clicked = [&app](ControlId button) { dispatch_click(button, app); },
        .destroyed =
            [controls] {
                // Workers may still call; from now on their calls do nothing.
                controls->window_gone();
                // The main window is the program's only one: the loop ends with it.
                PostQuitMessage(0);
            },
    });

    // 3. Creation complete.
    Win32VisualStyle visual_style;
    handle_window_created(visual_style, *controls);
    if (hooks.before_show) {
        hooks.before_show(window);
    }

    // 4. Show.
    window.show(show_command);
    if (hooks.after_show) {
        hooks.after_show(window, app);
    }

    // 5. The loop ends when the window has been destroyed.
    return run_message_loop(window);
}

int run_message_loop(MainWindow& window) {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 0;
        }
        if (window.handle_window_keys(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace proxylist
