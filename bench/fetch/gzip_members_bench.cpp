// The gzip member reader on a 64 MiB body of several members, side by side with gzip -dc of
// the same bytes from a file (written to /dev/null).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "gzip_member_maker.hpp"
#include "service/gzip_members.hpp"

namespace {

constexpr std::size_t body_bytes = std::size_t{64} << 20;
constexpr std::size_t member_payload_bytes = std::size_t{16} << 20;

// Proxy-list-like text: random addresses and ports, one to a line.
std::string payload(std::mt19937& random) {
    std::string text;
    text.reserve(member_payload_bytes + 64);
    while (text.size() < member_payload_bytes) {
        text += std::to_string(random() % 256) + "." + std::to_string(random() % 256) + "." +
                std::to_string(random() % 256) + "." + std::to_string(random() % 256) + ":" +
                std::to_string(random() % 65536) + "<br>\r\n";
    }
    return text;
}

struct Sample {
    std::string body;
    std::size_t unpacked_bytes = 0;
    std::string path;

    Sample() {
        std::mt19937 random(11);
        while (body.size() < body_bytes) {
            const std::string text = payload(random);
            body += proxylist::test_support::gzip_member(text, {.level = 6});
            unpacked_bytes += text.size();
        }
        char name[] = "/tmp/gzip_members_bench_XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            close(fd);
            path = name;
            std::ofstream(path, std::ios::binary)
                .write(body.data(), static_cast<std::streamsize>(body.size()));
        }
    }
    ~Sample() {
        if (!path.empty()) {
            std::remove(path.c_str());
        }
    }
};

Sample& sample() {
    static Sample instance;
    return instance;
}

void UnpackGzipMembers(benchmark::State& state) {
    const Sample& s = sample();
    for (auto _ : state) {
        // No output limit here: the same work gzip -dc does.
        const std::string out = proxylist::unpack_gzip_members(s.body, s.unpacked_bytes);
        if (out.size() != s.unpacked_bytes) {
            state.SkipWithError("short output");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.unpacked_bytes));
    state.counters["body_MiB"] = static_cast<double>(s.body.size()) / (1 << 20);
}

void GzipProgram(benchmark::State& state) {
    const Sample& s = sample();
    const std::string command = "gzip -dc '" + s.path + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("gzip failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.unpacked_bytes));
}

BENCHMARK(UnpackGzipMembers)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7);
BENCHMARK(GzipProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7);

}  // namespace

BENCHMARK_MAIN();
