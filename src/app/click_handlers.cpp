#include "app/click_handlers.hpp"

#include <system_error>
#include <thread>

#include "app/extraction.hpp"
#include "app/save_command.hpp"

namespace proxylist {

void handle_extract_click(const AppContext& app) {
    // Busy before the worker exists, on this thread: a second click that arrives before the
    // worker has run finds the button disabled, so a fast double click costs one request.
    show_extraction_busy(*app.controls);
    try {
        // Nothing ever waits for the worker; closing the window ends the process under it.
        std::thread([app] { extract_worker(app); }).detach();
    } catch (const std::system_error&) {
        show_extraction_ready(*app.controls);
    }
}

void handle_save_click(const AppContext& app) {
    save_list(*app.controls, app.run_directory);
}

}  // namespace proxylist
