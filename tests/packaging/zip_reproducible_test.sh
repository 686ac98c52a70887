#!/usr/bin/env bash
# The Windows zip: the executable and its read-me only, the executable needing no DLL beyond
# those that come with Windows, and the same bytes from a second, independent build.
# Usage: zip_reproducible_test.sh WINDOWS_BUILD_DIR   (a built windows preset)
set -euo pipefail
first="$(cd "$1" && pwd)"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
second="$source_dir/build/zip-second-build"
fail() { echo "FAIL: $*" >&2; exit 1; }

pack() {  # build dir -> path of the zip
    (cd "$1" && rm -f proxy-list-tool-*.zip && cpack -G ZIP >/dev/null)
    ls "$1"/proxy-list-tool-*-windows-x86_64.zip
}

zip_one=$(pack "$first")
entries=$(unzip -Z1 "$zip_one" | sort | tr '\n' ' ')
[ "$entries" = "README.txt proxy-list-tool.exe " ] || fail "zip holds: $entries"

# System DLLs only: the C runtime, the C++ runtime and zlib are linked in.
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|IMM32|msvcrt|ADVAPI32|SHELL32|ole32|OLEAUT32)\.dll$'
unzip -p "$zip_one" proxy-list-tool.exe > "$first/zip-check.exe"
while read -r dll; do
    [[ "$dll" =~ $allowed ]] || fail "the executable needs $dll"
done < <(x86_64-w64-mingw32-objdump -p "$first/zip-check.exe" | sed -n 's/^\s*DLL Name: //p')
rm -f "$first/zip-check.exe"

rm -rf "$second"
cmake -S "$source_dir" -B "$second" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchain-mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DPROXY_LIST_BUILD_TESTS=OFF -DPROXY_LIST_BUILD_BENCH=OFF >/dev/null
cmake --build "$second" -j "$(nproc)" --target proxy-list-tool >/dev/null
zip_two=$(pack "$second")
cmp "$zip_one" "$zip_two" || fail "two builds gave two different zips"
echo "zip: $(basename "$zip_one") $(stat -c %s "$zip_one") bytes, the same from two builds"
rm -rf "$second"
