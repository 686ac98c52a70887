// Start to first paint and peak memory (maximum resident set) of the program's window, side by
// side with a bare Qt window holding the same fourteen widgets. A third probe is the bare
// window linked with the program's own libraries (the fetch code among them; libcurl itself
// comes in with the first fetch), which shows how much of the difference is loading them
// rather than the window's own work. Each probe is
// started afresh for every run, in turn, and prints the monotonic clock at its first paint;
// the figures are medians.
//
//   startup_bench [RUNS]          (default 21; QT_QPA_PLATFORM and DISPLAY as given, offscreen
//                                 when there is no display)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double first_paint_ms;
    double peak_memory_mib;
};

long long monotonic_ns() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool run_once(const char* program, Run& run) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    // Qt's start-up chatter is of no interest here.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    const long long started = monotonic_ns();
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    if (spawned != 0) {
        close(pipe_ends[0]);
        return false;
    }
    std::string out;
    char buffer[64];
    for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipe_ends[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        out.empty()) {
        return false;
    }
    run.first_paint_ms = static_cast<double>(std::stoll(out) - started) / 1e6;
    run.peak_memory_mib = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is KiB
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
    // Without a display the probes could not open a window at all.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("startup: %d runs each, platform %s\n", runs,
                platform != nullptr ? platform : "(default)");
    const char* probes[] = {SHELL_PROBE, BARE_PROBE, BARE_LINKED_PROBE};
    std::vector<double> paint[3];
    std::vector<double> memory[3];
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < 3; ++p) {
            Run run{};
            if (!run_once(probes[p], run)) {
                std::fprintf(stderr, "startup: %s failed to start or to paint\n", probes[p]);
                return 1;
            }
            paint[p].push_back(run.first_paint_ms);
            memory[p].push_back(run.peak_memory_mib);
        }
    }
    double paint_median[3];
    double memory_median[3];
    for (int p = 0; p < 3; ++p) {
        paint_median[p] = median(paint[p]);
        memory_median[p] = median(memory[p]);
    }
    std::printf("%-27s %9s %9s %9s %12s %12s\n", "median", "program", "bare Qt", "bare+libs",
                "vs bare", "vs bare+libs");
    std::printf("%-27s %9.1f %9.1f %9.1f %12.3f %12.3f\n", "start to first paint (ms)",
                paint_median[0], paint_median[1], paint_median[2],
                paint_median[0] / paint_median[1], paint_median[0] / paint_median[2]);
    std::printf("%-27s %9.1f %9.1f %9.1f %12.3f %12.3f\n", "peak memory (MiB)", memory_median[0],
                memory_median[1], memory_median[2], memory_median[0] / memory_median[1],
                memory_median[0] / memory_median[2]);
    return 0;
}
