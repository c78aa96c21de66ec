#!/usr/bin/env bash
# Benchmark of the preview pane's decoding under Wine: JPEG at full against the chosen DCT
# scale, and time to the first and final picture through the worker with the longest block of
# the requesting thread. Prints figures; it is not a test. Usage: bench-preview.sh [BUILD_DIR]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/x64}
[ -f "$build/CMakeCache.txt" ] || bash "$root/scripts/build.sh" "$(basename "$build")" >/dev/null || exit 1
cmake --build "$build" -j "${VT_JOBS:-1}" --target preview_bench >/dev/null || { echo "build failed" >&2; exit 1; }
. "$root/scripts/wine-env.sh"
trap vt_wine_stop EXIT
vt_wine_start "$(vt_build_arch "$build")" || exit 1
echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
out=$(mktemp)
(cd "$build/bin" && timeout 900 wine preview_bench.exe) > "$out" 2>/dev/null
cat "$out"
rm -f "$out"
