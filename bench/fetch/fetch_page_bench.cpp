// fetch_page of a 1 MiB page over loopback, side by side with the curl program fetching the
// same URL (the program's start included, as a user of it pays it).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>

#include "loopback_http_server.hpp"
#include "service/page_fetch.hpp"

namespace {

using proxylist::test_support::http_response;
using proxylist::test_support::LoopbackHttpServer;
using proxylist::test_support::ScriptedAnswer;

constexpr std::size_t page_bytes = std::size_t{1} << 20;

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

LoopbackHttpServer& server() {
    static LoopbackHttpServer instance;
    static const bool answering = [] {
        instance.answer_always(ScriptedAnswer{
            .bytes = http_response(200, "Content-Type: text/html\r\n", proxy_list_page())});
        return true;
    }();
    static_cast<void>(answering);
    return instance;
}

void FetchPage(benchmark::State& state) {
    const proxylist::Text url(server().url("/get_ip.php?tqsl=10"));
    for (auto _ : state) {
        const proxylist::Text page = proxylist::fetch_page(url);
        if (page.size() != page_bytes) {
            state.SkipWithError("short page");
            break;
        }
        benchmark::DoNotOptimize(page.c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page_bytes));
}

void CurlProgram(benchmark::State& state) {
    const std::string command =
        "curl -s -o /dev/null --noproxy '*' '" + server().url("/get_ip.php?tqsl=10") + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("curl failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page_bytes));
}

BENCHMARK(FetchPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(15);
BENCHMARK(CurlProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(15);

}  // namespace

BENCHMARK_MAIN();
