#!/usr/bin/env bash
# Benchmark of the companion panel: attach latency, navigation latency and idle cost of the
# resident program, measured under Wine. Prints figures; it is not a test.
# Usage: bench-panel.sh [BUILD_DIR] [--idle]   (default build/x64; built first when out of date;
#        --idle measures only the idle cost). Attach and navigation are measured for the classic
#        dialog and then for the common item dialog.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/x64
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then build=$1; shift; fi
. "$root/scripts/wine-env.sh"
vt_bench_start "$build" Kestrum VT_brow TestVT panel_bench panel_client item_client message_census || exit 1
out=$(mktemp)
(cd "$build/bin" && VT_DIST="$dist" VT_TOOLS="$build/bin" timeout 600 wine panel_bench.exe "$@") > "$out" 2>/dev/null &
bench=$!
cpu_of() {  # utime + stime of the Kestrum.exe process, in clock ticks
  local p
  for p in /proc/[0-9]*; do
    if tr '\0' ' ' < "$p/cmdline" 2>/dev/null | grep -q 'Kestrum.exe'; then
      awk '{print $14 + $15}' "$p/stat"
      return
    fi
  done
  echo 0
}
shown=0
while kill -0 "$bench" 2>/dev/null; do
  if [ "$shown" = 0 ] && grep -q "idle: three panels" "$out"; then
    shown=1
    a=$(cpu_of); sleep 10; b=$(cpu_of)
    echo "idle: Kestrum.exe with three panels, 10 s: $(( (b - a) * 1000 / $(getconf CLK_TCK) )) ms CPU" >> "$out.idle"
  fi
  sleep 0.2
done
tr -d '\r' < "$out" | grep -v "measuring"
cat "$out.idle" 2>/dev/null
if [ "${1:-}" != "--idle" ]; then
  echo "The common item dialog:"
  (cd "$build/bin" && VT_DIST="$dist" VT_TOOLS="$build/bin" timeout 600 wine panel_bench.exe --item) 2>/dev/null |
    tr -d '\r' | grep -v "measuring"
fi
rm -f "$out" "$out.idle"
echo "Load after:  $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
