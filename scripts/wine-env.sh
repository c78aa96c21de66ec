# Sourced by the set-up, test and run scripts: a private Wine prefix per architecture and,
# when there is no display, an Xvfb server of our own. Everything started here is stopped by
# vt_wine_stop. Every step is bounded by a timeout so that a hung dialog fails the run
# instead of hanging it.

# True where the kernel itself runs 32-bit x86 programs: a 93-byte static ELF32 that only
# exits with 7. Emulation through a registered qemu-i386 does not count: there a Wine session
# takes minutes.
vt_runs_32bit() {
  if [ -f /proc/sys/fs/binfmt_misc/qemu-i386 ] && head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 | grep -qx enabled; then
    return 1
  fi
  local probe rc=0
  probe=$(mktemp /tmp/vantrel-elf32.XXXXXX) || return 1
  printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\007\000\000\000\315\200' > "$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" -eq 7 ]
}

# True where Wine can run the given build (x86 or x64) natively.
vt_wine_can_run() {
  case $1 in
    x64) /usr/lib/wine/wine64 --version >/dev/null 2>&1 ;;
    x86) vt_runs_32bit && [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1 ;;
    *) return 1 ;;
  esac
}

# Why the given build's Wine suite cannot run here (one line), for the test summary.
vt_wine_why_not() {
  case $1 in
    x86)
      if ! vt_runs_32bit; then echo "this kernel runs no 32-bit programs"
      else echo "32-bit Wine (wine32:i386) is not installed: Debian's i386 packages did not install here"; fi ;;
    x64) echo "wine64 does not run here" ;;
  esac
}

# vt_wine_start [x86|x64]: the Wine session for one build (x64 by default).
vt_wine_start() {
  local arch=${1:-x64}
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  if [ "$arch" = x86 ]; then
    export WINEARCH=win32
    unset WINELOADER
  else
    export WINEARCH=win64
    # Without wine32 the wine script picks wine64 itself; with it, the 32-bit loader would
    # hand 64-bit programs on anyway, but the server and prefix must be the 64-bit ones.
    export WINELOADER=/usr/lib/wine/wine64
  fi
  export WINEPREFIX=${VT_WINEPREFIX:-$(mktemp -d /tmp/vantrel-prefix.XXXXXX)}
  VT_OWN_XVFB=
  if [ -z "${DISPLAY:-}" ] || [ -n "${VT_FORCE_XVFB:-}" ]; then
    # The server picks a free display itself and says which: two sessions starting together,
    # or lock files left by others, never make two runs share (and stop) one screen.
    local said i
    said=$(mktemp /tmp/vantrel-display.XXXXXX)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$said" >/dev/null 2>&1 &
    VT_OWN_XVFB=$!
    for i in $(seq 1 100); do
      [ -s "$said" ] && [ -z "$(tail -c 1 "$said")" ] && break
      kill -0 "$VT_OWN_XVFB" 2>/dev/null || break
      sleep 0.1
    done
    local n; n=$(tr -dc 0-9 < "$said"); rm -f "$said"
    [ -n "$n" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$n"
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    vt_new_prefix "$arch" || { echo "wineboot failed" >&2; return 1; }
  fi
  # One session for the whole run: the server and the prefix's services stay up between the
  # test programs instead of starting again for each.
  wineserver -p
  # Nothing may ask before a window shows: no crash dialog, no Mono/Gecko installers.
  # Wine's X driver places and shows the windows itself, as Windows does: on a screen without
  # a window manager it would otherwise wait 2 s at every hide of a window for a withdrawal
  # nobody confirms, and every dialog's close, with the resident program's thread, with it.
  local settings; settings=$(mktemp /tmp/vantrel-settings.XXXXXX)
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n' > "$settings"
  timeout 30 wine reg import "$(winepath -w "$settings" 2>/dev/null)" >/dev/null 2>&1 || true
  rm -f "$settings"
}

# The template prefix of an architecture, made once per machine: a new prefix is a copy of it.
# Made before sessions run side by side, so that they never make it at the same time.
vt_prefix_template() {
  local template=${VANTREL_DEPS:-/var/cache/vantrel-deps}/wine-prefix-$1
  if [ ! -f "$template/system.reg" ]; then
    local fresh=$template.$$ arch=win64
    [ "$1" = x86 ] && arch=win32
    rm -rf "$fresh"
    # wineboot of a win64 prefix without wine32 says it cannot open syswow64's rundll32:
    # there is no 32-bit side, and nothing needs one.
    (export WINEPREFIX=$fresh WINEARCH=$arch WINEDEBUG=-all
     [ "$1" = x64 ] && export WINELOADER=/usr/lib/wine/wine64
     timeout 600 wineboot -i >/dev/null 2>&1; timeout 300 wineserver -w) || true
    [ -f "$fresh/system.reg" ] || { rm -rf "$fresh"; return 1; }
    # Made once, never updated: Wine would otherwise re-run its set-up on later starts.
    echo disable > "$fresh/.update-timestamp"
    rm -rf "$template" && mv "$fresh" "$template" || return 1
  fi
  printf '%s' "$template"
}

vt_new_prefix() {
  local template
  template=$(vt_prefix_template "$1") || return 1
  mkdir -p "$WINEPREFIX" && cp -a "$template/." "$WINEPREFIX/"
}

vt_wine_stop() {
  timeout 30 wineserver -k 2>/dev/null || true
  if [ -n "${VT_OWN_XVFB:-}" ]; then kill "$VT_OWN_XVFB" 2>/dev/null || true; wait "$VT_OWN_XVFB" 2>/dev/null || true; fi
  VT_OWN_XVFB=
  if [ -z "${VT_WINEPREFIX:-}" ] && [ -n "${WINEPREFIX:-}" ] && [[ "$WINEPREFIX" == /tmp/vantrel-prefix.* ]]; then
    rm -rf "$WINEPREFIX"
  fi
}

# x86 or x64: the architecture a configured cross build folder makes.
vt_build_arch() {
  grep -q '^CMAKE_TOOLCHAIN_FILE.*x86_64' "$1/CMakeCache.txt" 2>/dev/null && echo x64 || echo x86
}

# The benchmarks' common start: BUILD is built first when out of date, then the named targets;
# sets $dist, starts a Wine session (stopped on exit) and prints the load.
vt_bench_start() {
  local build=$1; shift
  [ -f "$build/CMakeCache.txt" ] || bash "$root/scripts/build.sh" "$(basename "$build")" >/dev/null || return 1
  cmake --build "$build" -j "${VT_JOBS:-1}" --target "$@" >/dev/null || {
    echo "build failed in $build" >&2
    return 1
  }
  dist=$(sed -n 's/^VT_DIST:[A-Z]*=//p' "$build/CMakeCache.txt")
  trap vt_wine_stop EXIT
  vt_wine_start "$(vt_build_arch "$build")" || return 1
  echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
}
