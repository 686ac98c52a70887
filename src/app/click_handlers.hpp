// What the two buttons do. Both run on the GUI thread; the extraction itself runs on a worker
// thread of its own, which the GUI thread never waits for.
#pragma once

#include <memory>

#include "app/controls.hpp"
#include "app/files.hpp"
#include "service/page_fetch.hpp"
#include "text/text.hpp"

namespace proxylist {

struct AppContext {
    // Shared with every extraction worker, which may outlive the window.
    std::shared_ptr<Controls> controls;
    // The executable's folder, taken once at start-up.
    FilePath run_directory;
    // The query service; the product uses the URL it was built with.
    Text service_url;
    // How long one fetch may take; the product's values, tests pass shorter ones.
    FetchTimeouts fetch_timeouts{};
};

void handle_extract_click(const AppContext& app);
void handle_save_click(const AppContext& app);

}  // namespace proxylist
