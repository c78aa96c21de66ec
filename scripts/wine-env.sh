# Sourced by the test and run scripts: a private Wine prefix and, when there is no display,
# an Xvfb server of our own. Everything started here is stopped by vt_wine_stop.
# Every step is bounded by a timeout so that a hung dialog fails the run instead of hanging it.

# True where 32-bit programs run through qemu's user-mode emulator (registered by setup.sh
# when the kernel runs none itself): Wine works there, but every program start takes minutes.
vt_wine_emulated() {
  [ -f /proc/sys/fs/binfmt_misc/qemu-i386 ] && head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 | grep -qx enabled
}

vt_wine_start() {
  export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  export WINEPREFIX=${VT_WINEPREFIX:-$(mktemp -d /tmp/vantrel-prefix.XXXXXX)}
  VT_OWN_XVFB=
  if [ -z "${DISPLAY:-}" ] || [ -n "${VT_FORCE_XVFB:-}" ]; then
    local n
    for n in $(seq 91 120); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    VT_OWN_XVFB=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    vt_new_prefix || { echo "wineboot failed" >&2; return 1; }
  fi
  # One session for the whole run: the server and the prefix's services stay up between the
  # test programs instead of starting again for each (minutes where programs run emulated).
  wineserver -p
  # Nothing may ask before a window shows: no crash dialog, no Mono/Gecko installers.
  timeout 30 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
}

# A new prefix is a copy of one made once per machine: making one takes seconds natively but
# minutes where 32-bit programs run emulated.
vt_new_prefix() {
  local template=${VANTREL_DEPS:-/var/cache/vantrel-deps}/wine-prefix-template
  if [ ! -f "$template/system.reg" ]; then
    local fresh=$template.$$
    rm -rf "$fresh"
    WINEPREFIX=$fresh timeout 1200 wineboot -i >/dev/null 2>&1 || { rm -rf "$fresh"; return 1; }
    WINEPREFIX=$fresh timeout 300 wineserver -w || true
    # Made once, never updated: Wine would otherwise re-run its set-up on later starts.
    echo disable > "$fresh/.update-timestamp"
    rm -rf "$template" && mv "$fresh" "$template" || return 1
  fi
  mkdir -p "$WINEPREFIX" && cp -a "$template/." "$WINEPREFIX/"
}

vt_wine_stop() {
  timeout 30 wineserver -k 2>/dev/null || true
  if [ -n "${VT_OWN_XVFB:-}" ]; then kill "$VT_OWN_XVFB" 2>/dev/null || true; wait "$VT_OWN_XVFB" 2>/dev/null || true; fi
  if [ -z "${VT_WINEPREFIX:-}" ] && [ -n "${WINEPREFIX:-}" ] && [[ "$WINEPREFIX" == /tmp/vantrel-prefix.* ]]; then
    rm -rf "$WINEPREFIX"
  fi
}
