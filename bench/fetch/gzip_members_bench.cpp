// The gzip member reader on a body of several members (about 67 MiB, made the same way on every
// platform), timed with a steady clock so that the same program runs natively and under Wine.
// It prints the body's size and CRC-32, so that runs on two platforms can be seen to unpack the
// same bytes, and the median of the reader's runs. With a path argument it also writes the body
// there; on Linux it then times gzip -dc of that file beside the reader.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "gzip_member_maker.hpp"
#include "service/gzip_members.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t body_bytes = std::size_t{64} << 20;
constexpr std::size_t member_payload_bytes = std::size_t{16} << 20;
constexpr int runs = 7;

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

double median_ms(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void report(const char* what, double ms, std::size_t unpacked_bytes) {
    std::printf("%-28s median %8.1f ms  %8.1f MiB/s unpacked  (%d runs)\n", what, ms,
                static_cast<double>(unpacked_bytes) / (1 << 20) / (ms / 1000.0), runs);
}

struct Sample {
    std::string body;
    std::size_t unpacked_bytes = 0;
};

Sample make_sample() {
    Sample s;
    std::mt19937 random(11);
    while (s.body.size() < body_bytes) {
        const std::string text = payload(random);
        s.body += proxylist::test_support::gzip_member(text, {.level = 6});
        s.unpacked_bytes += text.size();
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const Sample sample = make_sample();
    const auto crc = crc32(0L, reinterpret_cast<const Bytef*>(sample.body.data()),
                           static_cast<uInt>(sample.body.size()));
    std::printf("body %.1f MiB (%zu bytes, CRC-32 %08lx), unpacked %.1f MiB\n",
                static_cast<double>(sample.body.size()) / (1 << 20), sample.body.size(),
                static_cast<unsigned long>(crc),
                static_cast<double>(sample.unpacked_bytes) / (1 << 20));
    if (argc > 1) {
        std::ofstream(argv[1], std::ios::binary)
            .write(sample.body.data(), static_cast<std::streamsize>(sample.body.size()));
    }

    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        // No output limit here: the same work gzip -dc does.
        const std::string out = proxylist::unpack_gzip_members(sample.body, sample.unpacked_bytes);
        const auto end = Clock::now();
        if (out.size() != sample.unpacked_bytes) {
            std::printf("gzip reader: short output\n");
            return 1;
        }
        samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    report("gzip reader", median_ms(samples), sample.unpacked_bytes);

#if !defined(_WIN32)
    if (argc > 1) {
        const std::string command = "gzip -dc '" + std::string(argv[1]) + "' > /dev/null";
        std::vector<double> gzip_samples;
        for (int i = 0; i < runs; ++i) {
            const auto start = Clock::now();
            if (std::system(command.c_str()) != 0) {
                std::printf("gzip -dc failed\n");
                return 1;
            }
            gzip_samples.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        report("gzip -dc", median_ms(gzip_samples), sample.unpacked_bytes);
    }
#endif
    return 0;
}
