#!/usr/bin/env bash
# Brings a fresh Debian machine to the point where the project builds and its tests run:
# both mingw-w64 toolchains, Wine for 64-bit programs (Debian's wine64 from the amd64
# packages), Xvfb, GoogleTest, NSIS, and libjpeg-turbo / giflib cross-built for i686 and
# x86_64 mingw from Debian's own source packages. 32-bit Wine (the i386 architecture and
# wine32) is an extra: used where it installs and runs, never a reason to fail.
# Safe to run again: every step checks first.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache=${VANTREL_DEPS:-/var/cache/vantrel-deps}
export DEBIAN_FRONTEND=noninteractive

. "$here/scripts/wine-env.sh"  # vt_runs_32bit

log() { printf '[setup] %s\n' "$*"; }
die() { printf '[setup] FAILED: %s\n' "$*" >&2; exit 1; }

packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32
          g++-mingw-w64-x86-64-win32 mingw-w64-tools wine wine64 libwine xvfb xauth x11-utils
          imagemagick nasm cmake ninja-build pkg-config googletest libgtest-dev g++ dpkg-dev file
          nsis fp-utils unzip)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# One retry for a passing network fault; a second failure is final and says which step.
apt_retry() {
  local what=$1; shift
  "$@" && return 0
  log "$what failed once; trying again"
  sleep 3
  "$@" || return 1
}

updated=
apt_update() {
  [ -n "$updated" ] && return 0
  log "apt-get update"
  # A list that fails to download (an i386 index, say) makes update exit non-zero while the
  # lists we need are fine: the install that follows is the real test.
  apt_retry "apt-get update" apt-get update -qq || log "apt-get update reported errors; going on with the lists it has"
  updated=1
}

# deb-src entries so apt-get source can fetch the two libraries
if ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    log "adding deb-src entries"
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/vantrel-src.sources
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/vantrel-src.list
  fi
  updated=
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then apt_update; fi
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  apt_retry "installing the packages" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
    die "apt-get install ${missing[*]} (see apt's message above)"
fi
/usr/lib/wine/wine64 --version >/dev/null 2>&1 || die "wine64 does not run on this machine"

# 32-bit Wine, for the x86 build's Wine suite: only where the kernel runs 32-bit programs
# itself (emulated, a Wine session takes minutes), and only if the i386 packages install.
optional_wine32() {
  if ! vt_runs_32bit; then
    log "optional: this kernel runs no 32-bit programs: the x86 build is built and checked, its Wine suite not run"
    return 0
  fi
  installed wine32:i386 && return 0
  # A failed try is remembered for a day: the i386 lists rarely mend within the hour.
  local marker=$cache/wine32-unavailable
  if [ -n "$(find "$marker" -mmin -1440 2>/dev/null)" ]; then
    log "optional: wine32:i386 did not install here today: the x86 build's Wine suite will not run"
    return 0
  fi
  local added=
  dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; added=1; }
  updated=; apt_update
  if apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null 2>&1; then
    log "wine32 installed: the x86 build's Wine suite runs too"
    rm -f "$marker"
  else
    log "optional: wine32:i386 did not install (Debian's i386 lists failed or disagree): the x86 build's Wine suite will not run"
    mkdir -p "$cache" && touch "$marker"
    # Leave apt as it was: an i386 architecture with broken lists fails every later update.
    if [ -n "$added" ]; then dpkg --remove-architecture i386 2>/dev/null && { updated=; apt_update; } || true; fi
  fi
}
optional_wine32

mkdir -p "$cache/src"

fetch_source() {  # $1 = Debian source package; prints its unpacked folder
  local dir; dir=$(ls -d "$cache"/src/"$1"-*/ 2>/dev/null | head -n 1)
  if [ -z "$dir" ]; then
    (cd "$cache/src" && apt_retry "apt-get source $1" apt-get source -qq "$1" >/dev/null 2>&1) ||
      die "apt-get source $1 (needs the deb-src lists)"
    dir=$(ls -d "$cache"/src/"$1"-*/ | head -n 1)
  fi
  printf '%s' "$dir"
}

build_jpeg() {  # $1 = triple, $2 = cmake processor, $3 = prefix
  [ -f "$3/lib/libjpeg.a" ] && return
  log "cross-building libjpeg-turbo for $1"
  local src; src=$(fetch_source libjpeg-turbo)
  local work="$cache/build-jpeg-$1"
  cat > "$cache/mingw-$1.cmake" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $2)
set(CMAKE_C_COMPILER $1-gcc-win32)
set(CMAKE_RC_COMPILER $1-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$1)
TC
  rm -rf "$work"
  cmake -S "$src" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$cache/mingw-$1.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$3" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm >/dev/null
  cmake --build "$work" >/dev/null
  cmake --install "$work" >/dev/null
  rm -rf "$work"
}

build_gif() {  # $1 = triple, $2 = prefix
  [ -f "$2/lib/libgif.a" ] && return
  log "cross-building giflib for $1"
  local src; src=$(fetch_source giflib)
  local work="$cache/build-gif-$1"
  rm -rf "$work" && mkdir -p "$work" "$2/include" "$2/lib"
  local objs=() f
  for f in dgif_lib egif_lib gifalloc gif_err gif_hash openbsd-reallocarray quantize; do
    [ -f "$src/$f.c" ] || continue
    "$1-gcc-win32" -O2 -c "$src/$f.c" -I"$src" -o "$work/$f.o"
    objs+=("$work/$f.o")
  done
  "$1-ar" rcs "$2/lib/libgif.a" "${objs[@]}"
  cp "$src/gif_lib.h" "$2/include/"
  rm -rf "$work"
}

for triple in i686-w64-mingw32:X86:i686 x86_64-w64-mingw32:AMD64:x86_64; do
  IFS=: read -r t proc dir <<<"$triple"
  mkdir -p "$cache/$dir"
  build_jpeg "$t" "$proc" "$cache/$dir"
  build_gif "$t" "$cache/$dir"
done
log "dependencies ready in $cache/i686 and $cache/x86_64"
