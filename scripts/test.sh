#!/usr/bin/env bash
# Sets up the machine, builds everything, runs the host suite and the Wine suite of each build
# that runs here (x64 under wine64 always; x86 where the kernel runs 32-bit programs and 32-bit
# Wine installed), and ends with one summary line, after a line for whatever did not run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" || exit 1
bash "$root/scripts/build.sh" all || exit 1

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

. "$root/scripts/wine-env.sh"
trap vt_wine_stop EXIT
# VT_WINE_EMULATED=1 runs the x86 suite where 32-bit programs run only through qemu (slow).
for arch in x64 x86; do
  tests=$(cd "$root/build/$arch" && ctest -N | sed -n 's/^Total Tests: //p')
  if ! vt_wine_can_run "$arch" && ! { [ "$arch" = x86 ] && [ -n "${VT_WINE_EMULATED:-}" ]; }; then
    skipped=$((skipped + tests))
    notrun+=("the $arch build's Wine suite ($tests tests): $(vt_wine_why_not "$arch")")
    continue
  fi
  echo "== Wine suite, $arch build"
  if vt_wine_start "$arch"; then
    (cd "$root/build/$arch" && ctest --output-on-failure --timeout 300) 2>&1 | tee "$logs/vantrel-wine-$arch.log"
    count "$logs/vantrel-wine-$arch.log"
  else
    failed=$((failed + 1))
  fi
  vt_wine_stop
done

for line in "${notrun[@]}"; do echo "Not run: $line"; done
echo "Tests: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
