// proxy-list-demo-service [--port N] [--gzip] [--utf8] [--slow MS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo_http.hpp"

int main(int argc, char** argv) {
    demo::ServiceOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            options.port = static_cast<std::uint16_t>(std::atoi(argv[++i]));
        } else if (arg == "--gzip") {
            options.gzip = true;
        } else if (arg == "--utf8") {
            options.utf8 = true;
        } else if (arg == "--slow" && i + 1 < argc) {
            options.delay = std::chrono::milliseconds(std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: %s [--port N] [--gzip] [--utf8] [--slow MS]\n", argv[0]);
            return 2;
        }
    }
    if (!demo::run_demo_service(options)) {
        std::fprintf(stderr, "demo service: cannot listen on 127.0.0.1:%u\n", options.port);
        return 1;
    }
    return 0;
}
