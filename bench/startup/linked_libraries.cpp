// Keeps the program's fetch code in the bare probe's link, without calling it.
#include "service/page_fetch.hpp"

namespace proxylist::bench {

using FetchPage = Text (*)(const Text&, FetchTimeouts) noexcept;
// Read by nobody; the reference is what matters.
extern FetchPage volatile keep_fetch_page;
FetchPage volatile keep_fetch_page = &fetch_page;

}  // namespace proxylist::bench
