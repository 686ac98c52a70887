// Cleaning and the heavy text operations on answers shaped like a real one, beside memcpy of
// the same size (into reused and into fresh memory) as the ceiling. Prints, after the usual table, the throughput of each and how
// the 64 MiB time compares with 64 times the 1 MiB time (linear growth gives about 64).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "service/response_cleaning.hpp"
#include "text/text.hpp"

using namespace proxylist;

namespace {

constexpr std::int64_t kSizes[] = {64 << 10, 1 << 20, 64 << 20};

// An HTML head with some GBK text, the marker, then ip:port entries joined by "<br>" CR LF.
Text make_page(std::size_t bytes) {
    std::string page =
        "<html><head><meta charset=gbk><title>\xB4\xFA\xC0\xED\xC1\xD0\xB1\xED</title></head>"
        "<body>\xB1\xB1\xBE\xA9 \xB5\xE7\xD0\xC5</body></html>";
    unsigned n = 0;
    char entry[48];
    while (page.size() < bytes) {
        const int len = std::snprintf(entry, sizeof entry, "203.0.%u.%u:%u<br>\r\n",
                                      (n / 250) % 256, n % 250 + 1, 1080 + n % 9000);
        page.append(entry, static_cast<std::size_t>(len));
        ++n;
    }
    page.resize(bytes);
    return Text(page);
}

const Text& page_of(std::int64_t bytes) {
    static std::map<std::int64_t, Text> pages;
    auto it = pages.find(bytes);
    if (it == pages.end()) {
        it = pages.emplace(bytes, make_page(static_cast<std::size_t>(bytes))).first;
    }
    return it->second;
}

void BM_clean_list_page(benchmark::State& state) {
    const Text& page = page_of(state.range(0));
    for (auto _ : state) {
        Text list = clean_list_page(page);
        benchmark::DoNotOptimize(list);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_text_find_last(benchmark::State& state) {
    const Text& page = page_of(state.range(0));
    const Text marker("</html>");
    for (auto _ : state) {
        benchmark::DoNotOptimize(text_find_last(page, marker, std::nullopt, false));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_text_replace_crlf(benchmark::State& state) {
    const Text& page = page_of(state.range(0));
    for (auto _ : state) {
        Text out = text_replace(page, "\r\n", Text(), std::nullopt, std::nullopt, false);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_text_replace_br(benchmark::State& state) {
    const Text& page = page_of(state.range(0));
    for (auto _ : state) {
        Text out = text_replace(page, "<br>", "\r\n", std::nullopt, std::nullopt, false);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_memcpy(benchmark::State& state) {
    const Text& page = page_of(state.range(0));
    std::vector<char> out(page.size());
    for (auto _ : state) {
        std::memcpy(out.data(), page.c_str(), page.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The ceiling for anything that returns a fresh text of the page's size: the copy must land in
// new memory, whose pages the system hands out on first touch.
void BM_memcpy_fresh(benchmark::State& state) {
    const Text& page = page_of(state.range(0));
    for (auto _ : state) {
        Text copy = text_copy(page);
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const auto size : kSizes) {
        b->Arg(size);
    }
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_memcpy)->Apply(sizes);
BENCHMARK(BM_memcpy_fresh)->Apply(sizes);
BENCHMARK(BM_clean_list_page)->Apply(sizes);
BENCHMARK(BM_text_find_last)->Apply(sizes);
BENCHMARK(BM_text_replace_crlf)->Apply(sizes);
BENCHMARK(BM_text_replace_br)->Apply(sizes);

// Keeps each run's mean time so that the summary can compare sizes.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                seconds_[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
    }
    void print_summary() const {
        std::printf("\nsummary (64 MiB time / 1 MiB time; linear growth gives 64):\n");
        for (const char* name : {"BM_memcpy", "BM_memcpy_fresh", "BM_clean_list_page", "BM_text_find_last",
                                 "BM_text_replace_crlf", "BM_text_replace_br"}) {
            const std::string base(name);
            const double small = at(base + "/1048576");
            const double large = at(base + "/67108864");
            if (small > 0 && large > 0) {
                std::printf("  %-22s 64 MiB: %8.2f ms  %6.2f GB/s   ratio %6.1f\n", name,
                            large * 1e3, (64.0 * (1 << 20)) / large / 1e9, large / small);
            }
        }
    }

private:
    double at(const std::string& key) const {
        const auto it = seconds_.find(key);
        return it == seconds_.end() ? 0.0 : it->second;
    }
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_summary();
    benchmark::Shutdown();
    return 0;
}
