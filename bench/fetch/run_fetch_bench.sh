#!/usr/bin/env bash
# Runs the fetch benchmarks of the Linux build and, when it has been built, of the Windows build
# under Wine, one after the other in one run: fetch_page of 1 MiB over loopback (beside the curl
# program on Linux) and the gzip reader on the same body (beside gzip -dc on Linux).
# Usage: bench/fetch/run_fetch_bench.sh [Linux build dir, default build/release]
#                                       [Windows build dir, default build/windows]
set -euo pipefail
cd "$(dirname "$0")/../.."
linux=${1:-build/release}
windows=${2:-build/windows}
unset http_proxy https_proxy all_proxy no_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY NO_PROXY

body=$(mktemp /tmp/gzip_members_bench.XXXXXX)
trap 'rm -f "$body"' EXIT

echo "=== Linux build ($linux)"
"$linux/bench/fetch/fetch_page_bench"
"$linux/bench/fetch/gzip_members_bench" "$body"

if [ -x "$windows/bench/fetch/fetch_page_bench.exe" ]; then
    echo "=== Windows build under Wine ($windows)"
    scripts/wine-run "$windows/bench/fetch/fetch_page_bench.exe" | tr -d '\r'
    scripts/wine-run "$windows/bench/fetch/gzip_members_bench.exe" | tr -d '\r'
fi
