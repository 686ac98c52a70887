// What "提取" does: on a worker thread, read the five filters, ask the query service, clean
// its page and show the list in 编辑框4, with 按钮1 busy meanwhile.
#pragma once

#include "app/click_handlers.hpp"
#include "text/text.hpp"

namespace proxylist {

// The service URL and the six query keys with the values joined as they are: nothing is
// escaped, trimmed or checked; an absent value is sent empty.
[[nodiscard]] Text compose_query_url(const Text& service_url, const Text& region, const Text& count,
                                     const Text& port, const Text& prefix, const Text& carrier);

// One whole extraction; the button is ready again on every path.
void extract_worker(const AppContext& app);

// 按钮1 reads "提取中" and takes no clicks / reads "提取" and is usable again.
void show_extraction_busy(Controls& controls);
void show_extraction_ready(Controls& controls);

}  // namespace proxylist
