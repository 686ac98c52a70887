#include "first_paint_report.hpp"

#include <psapi.h>

#include <cstdio>

namespace proxylist::bench {

void report_first_paint_and_leave() {
    MSG message{};
    // WM_PAINT comes last of all messages: once none is waiting, every window has painted.
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    GdiFlush();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    char line[96];
    const int length =
        std::snprintf(line, sizeof line, "%lld %llu\n", static_cast<long long>(now.QuadPart),
                      static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    DWORD written = 0;
    // A GUI program: the C runtime's stdout is not set up, the inherited handle is.
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
    ExitProcess(0);
}

}  // namespace proxylist::bench
