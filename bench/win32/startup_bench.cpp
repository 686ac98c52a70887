// Start to first paint and peak memory (working set) of the program's window, side by side with
// a bare Win32 window holding the same fourteen controls. Each probe is started afresh for
// every run, in turn, and reports the performance counter at its first paint (everything
// painted) and its peak working set then; the figures are medians. Run under Wine with an X
// display (bench/win32/run_win32_bench.sh does).
//
//   win32_startup_bench [RUNS]          (default 21)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Run {
    double first_paint_ms;
    double peak_memory_mib;
};

std::wstring beside_this_program(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

bool run_once(const std::wstring& program, Run& run) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) {
        return false;
    }
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + program + L"\"";
    LARGE_INTEGER started{};
    QueryPerformanceCounter(&started);
    const BOOL created = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(write_end);
    if (!created) {
        CloseHandle(read_end);
        return false;
    }
    std::string out;
    char buffer[128];
    DWORD got = 0;
    while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        out.append(buffer, got);
    }
    CloseHandle(read_end);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exit_code = 1;
    GetExitCodeProcess(process.hProcess, &exit_code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    long long painted = 0;
    unsigned long long peak = 0;
    if (exit_code != 0 || std::sscanf(out.c_str(), "%lld %llu", &painted, &peak) != 2) {
        return false;
    }
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    run.first_paint_ms = static_cast<double>(painted - started.QuadPart) * 1000.0 /
                         static_cast<double>(frequency.QuadPart);
    run.peak_memory_mib = static_cast<double>(peak) / (1024.0 * 1024.0);
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const std::wstring programs[2] = {beside_this_program(L"win32_shell_probe.exe"),
                                      beside_this_program(L"win32_bare_probe.exe")};
    std::vector<double> paint[2];
    std::vector<double> memory[2];
    // One start of each first, unmeasured: the first Wine process of a run pays for the rest.
    Run warm{};
    run_once(programs[0], warm);
    run_once(programs[1], warm);
    for (int i = 0; i < runs; ++i) {
        // Alternating which goes first, so that neither always meets a warmer system.
        for (int k = 0; k < 2; ++k) {
            const int which = (i + k) % 2;
            Run run{};
            if (!run_once(programs[which], run)) {
                std::fprintf(stderr, "probe %d failed\n", which);
                return 1;
            }
            paint[which].push_back(run.first_paint_ms);
            memory[which].push_back(run.peak_memory_mib);
        }
    }
    // Each run's two starts follow each other, so their ratio sees the same load on the machine.
    std::vector<double> paired;
    for (int i = 0; i < runs; ++i) {
        paired.push_back(paint[0][i] / paint[1][i]);
    }
    std::printf(
        "start to first paint, median of %d: program %.1f ms, bare window %.1f ms, "
        "ratio %.2f (median of the runs' own ratios %.2f)\n",
        runs, median(paint[0]), median(paint[1]), median(paint[0]) / median(paint[1]),
        median(paired));
    std::printf(
        "peak working set,     median of %d: program %.1f MiB, bare window %.1f MiB, "
        "ratio %.2f\n",
        runs, median(memory[0]), median(memory[1]), median(memory[0]) / median(memory[1]));
    return 0;
}
