// fetch_page of a 1 MiB page over loopback, timed with a steady clock so that the same program
// runs natively and under Wine (Google Benchmark is not packaged for mingw). On Linux the curl
// program fetches the same URL beside it, its start included, as a user of it pays it.
// Prints the median of each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "loopback_http_server.hpp"
#include "service/page_fetch.hpp"

namespace {

using proxylist::test_support::http_response;
using proxylist::test_support::LoopbackHttpServer;
using proxylist::test_support::ScriptedAnswer;
using Clock = std::chrono::steady_clock;

constexpr std::size_t page_bytes = std::size_t{1} << 20;
constexpr int runs = 15;

std::string proxy_list_page() {
    std::mt19937 random(7);
    std::string page = "<html><body>list</body></html>";
    while (page.size() < page_bytes) {
        page += std::to_string(random() % 256) + "." + std::to_string(random() % 256) + "." +
                std::to_string(random() % 256) + "." + std::to_string(random() % 256) + ":" +
                std::to_string(random() % 65536) + "<br>\r\n";
    }
    page.resize(page_bytes);
    return page;
}

double median_ms(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Milliseconds of each of `runs` calls of step; nothing when a call fails.
template <class Step>
std::vector<double> timed(Step&& step) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (!step()) {
            return {};
        }
        samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return samples;
}

void report(const char* what, const std::vector<double>& samples) {
    if (samples.empty()) {
        std::printf("%-28s failed\n", what);
        return;
    }
    std::printf("%-28s median %8.2f ms  (%d runs)\n", what, median_ms(samples),
                static_cast<int>(samples.size()));
}

}  // namespace

int main() {
    LoopbackHttpServer server;
    const std::string page = proxy_list_page();
    server.answer_always(
        ScriptedAnswer{.bytes = http_response(200, "Content-Type: text/html\r\n", page)});
    const std::string url = server.url("/get_ip.php?tqsl=10");
    const proxylist::Text request(url);

    const auto fetch = [&] { return proxylist::fetch_page(request).size() == page_bytes; };
    fetch();  // the first call pays for loading the client library
    report("fetch_page, 1 MiB", timed(fetch));

    // What a call costs whatever the page: thread, client handles, connection, request.
    LoopbackHttpServer small_server;
    small_server.answer_always(ScriptedAnswer{.bytes = http_response(200, "", "1.2.3.4:80")});
    const proxylist::Text small_request(small_server.url("/get_ip.php?tqsl=1"));
    report("fetch_page, 10 bytes",
           timed([&] { return proxylist::fetch_page(small_request) == "1.2.3.4:80"; }));

#if !defined(_WIN32)
    const std::string command = "curl -s -o /dev/null --noproxy '*' '" + url + "'";
    report("curl program, 1 MiB", timed([&] { return std::system(command.c_str()) == 0; }));
#endif
    return 0;
}
