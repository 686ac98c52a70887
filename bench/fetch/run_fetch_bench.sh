#!/usr/bin/env bash
# Runs both fetch benchmarks and prints the medians side by side.
# Usage: bench/fetch/run_fetch_bench.sh [build directory, default build/release]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
unset http_proxy https_proxy all_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY

median() {  # benchmark output, benchmark name -> median time in ms
    awk -v name="^$2/.*_median$" '$1 ~ name { print $2 }' <<<"$1"
}

fetch=$("$build/bench/fetch/fetch_page_bench" --benchmark_report_aggregates_only=true)
echo "$fetch"
gzip_out=$("$build/bench/fetch/gzip_members_bench" --benchmark_report_aggregates_only=true)
echo "$gzip_out"

fetch_ms=$(median "$fetch" FetchPage)
curl_ms=$(median "$fetch" CurlProgram)
unpack_ms=$(median "$gzip_out" UnpackGzipMembers)
gzip_ms=$(median "$gzip_out" GzipProgram)
echo
echo "1 MiB page over loopback, median: fetch_page ${fetch_ms} ms, curl program ${curl_ms} ms"
echo "64 MiB gzip body, median: gzip reader ${unpack_ms} ms, gzip -dc ${gzip_ms} ms"
awk -v a="$gzip_ms" -v b="$unpack_ms" 'BEGIN { printf "gzip reader speed relative to gzip -dc: %.2fx\n", a / b }'
