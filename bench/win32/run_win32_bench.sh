#!/usr/bin/env bash
# The Windows front-end's figures under Wine, each on a virtual X screen of its own, with the
# Linux build's click-to-list beside them when it is built:
#   1. start to first paint and peak working set, the program beside a bare Win32 window with
#      the same fourteen controls;
#   2. click to list for 10 000 addresses over loopback: the Windows build under Wine, the Linux
#      build (Qt, offscreen), one after the other in this run.
#
#   bench/win32/run_win32_bench.sh [STARTUP_RUNS] [EXTRACTION_RUNS]
#
# Build first: cmake --preset windows && cmake --build --preset windows, and for the Linux
# figure cmake --preset release && cmake --build --preset release --target extraction_bench.
set -euo pipefail
cd "$(dirname "$0")/../.."
startup_runs=${1:-21}
extraction_runs=${2:-15}
windows=build/windows/bench/win32
linux=build/release/bench/end_to_end/extraction_bench
run_under_wine=tests/ui_win32/run-under-wine-xvfb

for program in "$windows/win32_startup_bench.exe" "$windows/win32_extraction_bench.exe"; do
    if [ ! -f "$program" ]; then
        echo "run_win32_bench: $program not built (cmake --preset windows && cmake --build --preset windows)" >&2
        exit 1
    fi
done

echo "== Windows build under Wine: start-up"
"$run_under_wine" "$windows/win32_startup_bench.exe" "$startup_runs" 2>/dev/null
echo "== Windows build under Wine: click to list"
windows_figures=$("$run_under_wine" "$windows/win32_extraction_bench.exe" "$extraction_runs" 2>/dev/null)
echo "$windows_figures"
if [ -x "$linux" ]; then
    echo "== Linux build: click to list"
    linux_figures=$(QT_QPA_PLATFORM=offscreen "$linux" 2>/dev/null)
    echo "$linux_figures"
    windows_ms=$(echo "$windows_figures" | sed -n 's/^click to list.*: *\([0-9.]*\) ms$/\1/p')
    linux_ms=$(echo "$linux_figures" | sed -n 's/^click to list.*: *\([0-9.]*\) ms$/\1/p')
    if [ -n "$windows_ms" ] && [ -n "$linux_ms" ]; then
        awk -v w="$windows_ms" -v l="$linux_ms" \
            'BEGIN { printf "click to list, Windows build under Wine / Linux build: %.2f\n", w / l }'
    fi
else
    echo "(no Linux figure: $linux not built)"
fi
