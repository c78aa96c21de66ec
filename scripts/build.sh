#!/usr/bin/env bash
# Builds the configurations: build/x86 and build/x64 (each architecture's deliverables into
# build/dist/x86 and build/dist/x64, and its Wine tests) and build/host (window-free logic and
# its sanitizer tests). Usage: build.sh [x86|x64|host|all]
# VT_DELIVERABLES_ONLY="x86" (or "x86 x64") builds only the programs, help, installer and zip
# of those architectures, not their Wine tests: for a build whose Wine suite cannot run here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
jobs=$(nproc)
deps=${VANTREL_DEPS:-/var/cache/vantrel-deps}
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)

cross() {  # $1 = x86|x64, $2 = toolchain triple prefix, $3 = deps folder
  [ -f "$root/build/$1/CMakeCache.txt" ] || cmake -S "$root" -B "$root/build/$1" "${gen[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$2-toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DVT_DEPS_PREFIX="$deps/$3" >/dev/null
  local targets=()
  [[ " ${VT_DELIVERABLES_ONLY:-} " == *" $1 "* ]] && targets=(--target Kestrum VT_brow TestVT installer)
  cmake --build "$root/build/$1" -j "$jobs" "${targets[@]}"
}

case $what in x86|all) cross x86 i686 i686 ;; esac
case $what in x64|all) cross x64 x86_64 x86_64 ;; esac
case $what in host|all)
  [ -f "$root/build/host/CMakeCache.txt" ] || cmake -S "$root" -B "$root/build/host" "${gen[@]}" \
      -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/build/host" -j "$jobs" ;;
esac
