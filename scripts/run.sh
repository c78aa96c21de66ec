#!/usr/bin/env bash
# The main job: set up, build, then under Wine start the resident program Kestrum.exe, start
# the test program, open its Open dialog and save a screenshot of the screen.
# Without a display everything runs in a private Xvfb and every Wine process is ended at the
# end; with a display the programs stay up until the test dialog is closed.
#
# Overrides (for a developer's own build folders):
#   VT_BUILD_DIR     build folder whose bin/ holds vt_drive.exe   (default build/win32)
#   VT_DIST_DIR      folder of Kestrum.exe, VT_brow.dll, TestVT.exe (default build/dist)
#   VT_SCREENSHOT    where the screenshot goes                     (default build/screenshot.png)
#   VT_WINEPREFIX    Wine prefix                                   (default build/wine-prefix)
#   VT_SKIP_BUILD=1  do not run setup.sh and build.sh
#   VT_LIVE_WAIT     seconds a live run waits for the user         (default 3600)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VT_BUILD_DIR:-$root/build/win32}
dist=${VT_DIST_DIR:-$root/build/dist}
shot=${VT_SCREENSHOT:-$root/build/screenshot.png}
export VT_WINEPREFIX=${VT_WINEPREFIX:-$root/build/wine-prefix}

if [ -z "${VT_SKIP_BUILD:-}" ]; then
  bash "$root/scripts/setup.sh" || { echo "run.sh: setup failed" >&2; exit 1; }
  bash "$root/scripts/build.sh" all || { echo "run.sh: build failed" >&2; exit 1; }
fi
for f in "$dist/Kestrum.exe" "$dist/VT_brow.dll" "$dist/TestVT.exe" "$build/bin/vt_drive.exe"; do
  [ -f "$f" ] || { echo "run.sh: missing $f" >&2; exit 1; }
done

live=
[ -n "${DISPLAY:-}" ] && [ -z "${VT_FORCE_XVFB:-}" ] && live=1
. "$root/scripts/wine-env.sh"
[ -n "$live" ] || trap vt_wine_stop EXIT
vt_wine_start || { echo "run.sh: Wine could not be started" >&2; exit 1; }
# No window manager runs in the private Xvfb: Wine then has to draw the captions and frames.
# With a real display the window manager does it again.
if [ -n "$live" ]; then
  timeout 30 wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Decorated /f >/dev/null 2>&1 || true
else
  timeout 30 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
fi

# Emulated 32-bit programs (see wine-env.sh) start minutes late: every wait grows tenfold.
slow=1
vt_wine_emulated && slow=10
drive() {
  local what=$1 ms=${2:-}
  shift
  [ -n "$ms" ] && { shift; set -- "$((ms * slow))" "$@"; }
  timeout $((90 * slow)) wine "$build/bin/vt_drive.exe" "$what" "$@"
}
status=0

echo "== starting Kestrum.exe on display $DISPLAY"
(cd "$dist" && exec wine "$dist/Kestrum.exe" >/dev/null 2>&1) &
drive controller 60000 || status=1

# The first run on an account starts the test program by itself; otherwise start it here.
if [ "$status" -eq 0 ] && ! drive testvt 8000 >/dev/null; then
  echo "== starting TestVT.exe"
  (cd "$dist" && exec wine "$dist/TestVT.exe" >/dev/null 2>&1) &
fi
if [ "$status" -eq 0 ]; then
  drive open 60000 || status=1
  sleep $((4 * slow))  # let the dialog and its panel finish painting
fi

mkdir -p "$(dirname "$shot")"
if timeout 30 import -display "$DISPLAY" -window root "$shot"; then
  echo "Screenshot saved to $shot"
else
  echo "run.sh: screenshot failed" >&2
  status=1
fi

if [ -n "$live" ] && [ "$status" -eq 0 ]; then
  wait_s=${VT_LIVE_WAIT:-3600}
  echo "== running live on $DISPLAY; close the \"Test Vantrel\" dialog to finish (at most ${wait_s} s)."
  echo "   Kestrum stays resident afterwards; end it with: WINEPREFIX=$WINEPREFIX wineserver -k"
  end=$((SECONDS + wait_s))
  while [ "$SECONDS" -lt "$end" ] && drive testvt 1000 >/dev/null; do sleep 2; done
fi
exit "$status"
