#!/usr/bin/env bash
# Builds both configurations: build/win32 (deliverables into build/dist, Wine tests) and
# build/host (window-free logic and its sanitizer tests). Usage: build.sh [win32|host|all]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
jobs=$(nproc)
deps=${VANTREL_DEPS:-/var/cache/vantrel-deps}/i686
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)

if [ "$what" = all ] || [ "$what" = win32 ]; then
  [ -f "$root/build/win32/CMakeCache.txt" ] || cmake -S "$root" -B "$root/build/win32" "${gen[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686-toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DVT_DEPS_PREFIX="$deps" >/dev/null
  cmake --build "$root/build/win32" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = host ]; then
  [ -f "$root/build/host/CMakeCache.txt" ] || cmake -S "$root" -B "$root/build/host" "${gen[@]}" \
      -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/build/host" -j "$jobs"
fi
