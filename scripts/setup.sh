#!/usr/bin/env bash
# Brings a fresh Debian machine to the point where the project builds and its tests run:
# toolchain, Wine (32-bit), Xvfb, GoogleTest, and libjpeg-turbo / giflib cross-built for
# i686 mingw from Debian's own source packages. Safe to run again: every step checks first.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache=${VANTREL_DEPS:-/var/cache/vantrel-deps}
export DEBIAN_FRONTEND=noninteractive

log() { printf '[setup] %s\n' "$*"; }

packages=(g++-mingw-w64-i686 mingw-w64-tools wine wine32 xvfb xauth x11-utils imagemagick nasm
          cmake ninja-build pkg-config googletest libgtest-dev g++ dpkg-dev file binutils-mingw-w64-i686 nsis
          fp-utils)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  dpkg --add-architecture i386
  need_update=1
fi

# deb-src entries so apt-get source can fetch the two libraries
if ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    log "adding deb-src entries"
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/vantrel-src.sources
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/vantrel-src.list
  fi
  need_update=1
fi

for p in "${packages[@]}"; do
  arch_p=$p
  [ "$p" = wine32 ] && arch_p=wine32:i386
  dpkg-query -W -f='${Status}' "$arch_p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$arch_p")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  log "apt-get update"
  apt-get update -qq || apt-get update -qq || true
fi
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Some kernels run no 32-bit programs at all (the 32-bit compatibility mode is switched off,
# as on some virtual machines): Wine's 32-bit loader then fails with "Exec format error".
# There, 32-bit Linux programs are run through qemu's user-mode emulator, registered with
# binfmt_misc, so Wine and the Windows programs still run, only slower.
ensure_32bit_programs() {
  /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0
  log "this kernel does not run 32-bit programs: running them through qemu-i386"
  dpkg-query -W -f='${Status}' qemu-user 2>/dev/null | grep -q 'install ok installed' ||
    apt-get install -y -qq --no-install-recommends qemu-user >/dev/null
  [ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
      > /proc/sys/fs/binfmt_misc/register
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 || { log "32-bit programs cannot be run here"; return 1; }
}
ensure_32bit_programs

prefix="$cache/i686"
mkdir -p "$cache/src" "$prefix"

build_jpeg() {
  [ -f "$prefix/lib/libjpeg.a" ] && return
  log "cross-building libjpeg-turbo"
  (cd "$cache/src" && [ -d libjpeg-turbo-*/ ] || (cd "$cache/src" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1))
  local src; src=$(ls -d "$cache"/src/libjpeg-turbo-*/ | head -n 1)
  cat > "$cache/mingw-i686.cmake" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
TC
  rm -rf "$cache/build-jpeg"
  cmake -S "$src" -B "$cache/build-jpeg" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$cache/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm >/dev/null
  cmake --build "$cache/build-jpeg" >/dev/null
  cmake --install "$cache/build-jpeg" >/dev/null
}

build_gif() {
  [ -f "$prefix/lib/libgif.a" ] && return
  log "cross-building giflib"
  (cd "$cache/src" && [ -d giflib-*/ ] || (cd "$cache/src" && apt-get source -qq giflib >/dev/null 2>&1))
  local src; src=$(ls -d "$cache"/src/giflib-*/ | head -n 1)
  rm -rf "$cache/build-gif" && mkdir -p "$cache/build-gif" "$prefix/include" "$prefix/lib"
  local objs=()
  for f in dgif_lib egif_lib gifalloc gif_err gif_hash openbsd-reallocarray quantize; do
    [ -f "$src/$f.c" ] || continue
    i686-w64-mingw32-gcc-win32 -O2 -c "$src/$f.c" -I"$src" -o "$cache/build-gif/$f.o"
    objs+=("$cache/build-gif/$f.o")
  done
  i686-w64-mingw32-ar rcs "$prefix/lib/libgif.a" "${objs[@]}"
  cp "$src/gif_lib.h" "$prefix/include/"
}

build_jpeg
build_gif
log "dependencies ready in $prefix"
