// The program as shipped, with work going on when its window is closed: a worker that keeps
// asking the window for a text and, when a service URL is given, an extraction from it. The
// process test closes the window and expects exit code 0 at once.
//
//   close_with_worker_helper [SERVICE_URL]
#include <windows.h>

#include <cstdlib>
#include <thread>

#include "app/click_handlers.hpp"
#include "ui/win32/shell.hpp"
#include "ui/win32/start_failure.hpp"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    proxylist::ShellHooks hooks;
    hooks.after_show = [](proxylist::MainWindow&, const proxylist::AppContext& app) {
        // Never joined: it is blocked in a call to the UI thread, or about to be, when the
        // window closes.
        std::thread([controls = app.controls] {
            for (;;) {
                (void)controls->edit_text(proxylist::ControlId::编辑框1);
            }
        }).detach();
        if (__argc > 1) {
            proxylist::AppContext extraction = app;
            extraction.service_url = proxylist::Text(__argv[1]);
            proxylist::handle_extract_click(extraction);
        }
    };
    proxylist::leave_process(proxylist::run_shell(instance, show_command, hooks));
}
