// proxy-list-demo-service [--port N] [--gzip] [--utf8] [--slow MS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

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
    demo::DemoService service(options);
    if (!service.start()) {
        std::fprintf(stderr, "demo service: cannot listen on 127.0.0.1:%u\n", options.port);
        return 1;
    }
    std::fprintf(stderr, "demo service: http://127.0.0.1:%u/get_ip.php%s%s%s\n", service.port(),
                 options.gzip ? " (gzip)" : "", options.utf8 ? " (UTF-8)" : "",
                 options.delay.count() > 0 ? " (slow)" : "");
    // Serves until the process is ended.
    for (;;) {
        std::this_thread::sleep_for(std::chrono::hours(24));
    }
}
