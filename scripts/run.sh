#!/usr/bin/env bash
# The main job: set up, build, then under Wine start the resident program Kestrum.exe, start
# the test program, open its Open dialog, take it to a folder with a picture, select the
# picture for the preview and save a screenshot of the screen. It runs the build that runs
# natively here: x64 under wine64 (VT_ARCH=x86 for the 32-bit build where 32-bit Wine runs).
# Without a display everything runs in a private Xvfb and every Wine process is ended at the
# end; with a display the programs stay up until the test dialog is closed.
#
# Overrides (for a developer's own build folders):
#   VT_ARCH          x64 or x86                                    (default x64)
#   VT_BUILD_DIR     build folder whose bin/ holds vt_drive.exe   (default build/$VT_ARCH)
#   VT_DIST_DIR      folder of Kestrum.exe, VT_brow.dll, TestVT.exe (default build/dist/$VT_ARCH)
#   VT_SCREENSHOT    where the screenshot goes                     (default build/screenshot.png)
#   VT_WINEPREFIX    Wine prefix                                   (default build/wine-prefix)
#   VT_SKIP_BUILD=1  do not run setup.sh and build.sh
#   VT_LIVE_WAIT     seconds a live run waits for the user         (default 3600)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${VT_ARCH:-x64}
build=${VT_BUILD_DIR:-$root/build/$arch}
dist=${VT_DIST_DIR:-$root/build/dist/$arch}
shot=${VT_SCREENSHOT:-$root/build/screenshot.png}
export VT_WINEPREFIX=${VT_WINEPREFIX:-$root/build/wine-prefix-$arch}

if [ -z "${VT_SKIP_BUILD:-}" ]; then
  bash "$root/scripts/setup.sh" || { echo "run.sh: setup failed" >&2; exit 1; }
  bash "$root/scripts/build.sh" "$arch" || { echo "run.sh: build failed" >&2; exit 1; }
fi
for f in "$dist/Kestrum.exe" "$dist/VT_brow.dll" "$dist/TestVT.exe" "$build/bin/vt_drive.exe"; do
  [ -f "$f" ] || { echo "run.sh: missing $f" >&2; exit 1; }
done

live=
[ -n "${DISPLAY:-}" ] && [ -z "${VT_FORCE_XVFB:-}" ] && live=1
. "$root/scripts/wine-env.sh"
[ -n "$live" ] || trap vt_wine_stop EXIT
vt_wine_can_run "$arch" || { echo "run.sh: the $arch build cannot run here: $(vt_wine_why_not "$arch")" >&2; exit 1; }
vt_wine_start "$arch" || { echo "run.sh: Wine could not be started" >&2; exit 1; }
# No window manager runs in the private Xvfb: Wine then has to draw the captions and frames.
# With a real display the window manager does it again.
if [ -n "$live" ]; then
  timeout 30 wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Decorated /f >/dev/null 2>&1 || true
else
  timeout 30 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
fi

slow=${VT_WAIT_SCALE:-1}
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
fi
# A picture for the preview, in a folder of its own: the dialog goes there through its own
# file-name box and the picture is selected as a click would.
pictures=$root/build/main-job/Pictures
if [ "$status" -eq 0 ] && mkdir -p "$pictures" && 
   { [ -f "$pictures/Harbour.jpg" ] || timeout 60 convert -size 800x600 -seed 7 plasma:fractal -blur 0x1 \
       -quality 90 "$pictures/Harbour.jpg"; }; then
  sleep $((2 * slow))  # the panel's own start-folder navigation comes first
  timeout $((90 * slow)) wine "$build/bin/vt_drive.exe" show "$(winepath -w "$pictures" 2>/dev/null)" Harbour.jpg \
    $((20000 * slow)) || echo "run.sh: no picture selected" >&2
fi
[ "$status" -eq 0 ] && sleep $((3 * slow))  # let the dialog and its panel finish painting

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
