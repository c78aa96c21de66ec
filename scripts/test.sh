#!/usr/bin/env bash
# Sets up the machine, builds everything, runs the host suite and the Wine suite of each build
# that runs here (x64 under wine64 always; x86 where the kernel runs 32-bit programs and 32-bit
# Wine installed), and ends with one summary line, after a line for whatever did not run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" || exit 1
. "$root/scripts/wine-env.sh"
# A build whose Wine suite cannot run here is built and checked, without its Wine tests.
only=
for arch in x86 x64; do vt_wine_can_run "$arch" || only="$only $arch"; done
VT_DELIVERABLES_ONLY=$only bash "$root/scripts/build.sh" all || exit 1

passed=0; failed=0; skipped=0
notrun=()
count() {  # reads a ctest log, adds its totals
  local line; line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1)
  [ -n "$line" ] || { failed=$((failed + 1)); return; }
  local f t; f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + t - f)); failed=$((failed + f))
}
logs=${TMPDIR:-/tmp}

echo "== the deliverables of both builds"
bash "$root/scripts/check-binaries.sh" x86 x64 2>&1 | tee "$logs/vantrel-binaries.log"
line=$(sed -n 's/^binaries: \([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' "$logs/vantrel-binaries.log")
if [ -n "$line" ]; then passed=$((passed + ${line% *})); failed=$((failed + ${line#* })); else failed=$((failed + 1)); fi

echo "== host suite"
(cd "$root/build/host" && ctest --output-on-failure -j "$(nproc)" --timeout 120) 2>&1 | tee "$logs/vantrel-host.log"
count "$logs/vantrel-host.log"

# VT_WINE_EMULATED=1 runs the x86 suite where 32-bit programs run only through qemu (slow).
for arch in x64 x86; do
  tests=$(cd "$root/build/$arch" && ctest -N | sed -n 's/^Total Tests: //p')
  # Built without its tests, the count comes from the sources: one test program a file.
  [ "${tests:-0}" -gt 0 ] || tests=$(ls "$root"/tests/wine/*_test.cpp | wc -l)
  if ! vt_wine_can_run "$arch" && ! { [ "$arch" = x86 ] && [ -n "${VT_WINE_EMULATED:-}" ]; }; then
    skipped=$((skipped + tests))
    notrun+=("the $arch build's Wine suite ($tests tests): $(vt_wine_why_not "$arch")")
    continue
  fi
  echo "== Wine suite, $arch build (two Wine sessions side by side)"
  # The programs mostly wait on each other's windows, so two independent sessions (a prefix,
  # a server and a screen each) halve the time on two cores. The first takes the two longest
  # test programs and the short ones (hook_block must run before any other hooks its session);
  # the second everything else, new ones included.
  first='^wine_(panel|hot_folders|installer|caption_paint|hook_block|layout|registry_win32|utils|preview_decode)_test$'
  shard() {  # $1 = 1 or 2
    local sel=(-R "$first"); [ "$1" = 2 ] && sel=(-E "$first")
    ( VT_FORCE_XVFB=1; export VT_FORCE_XVFB; unset VT_WINEPREFIX
      vt_wine_start "$arch" || { echo "Wine could not be started"; exit 1; }
      trap vt_wine_stop EXIT
      cd "$root/build/$arch" && ctest --output-on-failure --timeout 300 "${sel[@]}" ) \
      > "$logs/vantrel-wine-$arch-$1.log" 2>&1
  }
  vt_prefix_template "$arch" >/dev/null || { echo "wineboot failed for $arch"; failed=$((failed + 1)); continue; }
  shard 1 & s1=$!
  shard 2 & s2=$!
  wait "$s1" "$s2"
  for n in 1 2; do
    cat "$logs/vantrel-wine-$arch-$n.log"
    count "$logs/vantrel-wine-$arch-$n.log"
  done
done

for line in "${notrun[@]}"; do echo "Not run: $line"; done
echo "Tests: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
