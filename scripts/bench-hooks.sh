#!/usr/bin/env bash
# Benchmark of the hook library: what its two global hooks cost every other program on the
# desktop, next to a pass-through hook of the same two kinds, and how soon a shown Open dialog
# is reported to the controller. Prints figures; it is not a test.
# Usage: bench-hooks.sh [BUILD_DIR] [--rounds N] [--ms PER_KIND] [--dialogs N]
#   BUILD_DIR  a cross build directory; default build/x64 (build/x86 for the 32-bit build),
#              configured when missing.
#              The needed targets are built (if out of date) with VT_JOBS jobs (default 1).
# Under Wine the hook machinery itself dominates the cost of a message, so the figure that the
# library's own code decides is (c)/(b); (c)/(a) is printed for completeness. The phases are
# interleaved, repeated and reported as medians, because the machine may be shared.
# Wine, its server and the benchmark run pinned to one processor (VT_BENCH_CPU, default the
# last one; "none" leaves them free): every message crosses to the wine server and back, and
# wake-ups across processors made single rounds vary by a factor of four.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/x64
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
  build=$(cd "$1" && pwd) || exit 1
  shift
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  gen=()
  command -v ninja >/dev/null && gen=(-G Ninja)
  case $(basename "$build") in x86) tc=i686 ;; *) tc=x86_64 ;; esac
  cmake -S "$root" -B "$build" "${gen[@]}" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$tc-toolchain.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DVT_DEPS_PREFIX="${VANTREL_DEPS:-/var/cache/vantrel-deps}/$tc" >/dev/null || exit 1
fi
cmake --build "$build" -j "${VT_JOBS:-1}" \
    --target VT_brow hook_bench hook_passthru hook_rate_client hook_dialog_client >/dev/null || {
  echo "build failed in $build" >&2
  exit 1
}
dist=$(sed -n 's/^VT_DIST:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -f "$dist/VT_brow.dll" ] || { echo "no VT_brow.dll in $dist" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
cores=$(grep -c '^processor' /proc/cpuinfo)
cpu=${VT_BENCH_CPU:-$((cores - 1))}
pinned="not pinned"
if [ "$cpu" != none ] && command -v taskset >/dev/null && taskset -cp "$cpu" $$ >/dev/null 2>&1; then
  pinned="pinned to processor $cpu"
fi
# Started from here, the wine server inherits the pinning; one already running would not.
trap vt_wine_stop EXIT
vt_wine_start "$(vt_build_arch "$build")" || exit 1

echo "Machine: $cores processors, benchmark $pinned; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
(cd "$build/bin" && VT_DIST="$dist" VT_TOOLS="$build/bin" timeout 900 wine hook_bench.exe "$@") | tr -d '\r'
rc=${PIPESTATUS[0]}
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$rc"
