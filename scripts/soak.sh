#!/usr/bin/env bash
# Soak benchmark of the resident program under Wine: dialog open/close cycles over ten client
# programs at a time (every tenth killed with its dialog open, every fifth moved, resized,
# maximised and restored first), with crashes, slots left in use, the resident program's
# private memory and GDI objects after an early and after the last cycle, and its CPU time in
# 10 s idle with three panels at the start and at the end. Prints figures; it is not a test.
# Usage: soak.sh [BUILD_DIR] [--cycles N] [--early N]   (default build/x64, 1000 cycles, early
#        figures after cycle 100; built first when out of date)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/x64
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then build=$1; shift; fi
. "$root/scripts/wine-env.sh"
vt_bench_start "$build" Kestrum VT_brow TestVT soak_bench panel_client || exit 1
out=$(mktemp) err=$(mktemp)
# Files, not pipes: the programs it starts inherit them.
(cd "$build/bin" && VT_DIST="$dist" VT_TOOLS="$build/bin" timeout 7200 wine soak_bench.exe "$@") > "$out" 2> "$err" &
bench=$!
kestrum_pid() {  # this session's Kestrum.exe: other sessions may run their own beside it
  local p
  for p in /proc/[0-9]*; do
    if tr '\0' ' ' 2>/dev/null < "$p/cmdline" | grep -q 'Kestrum.exe' &&
        tr '\0' '\n' 2>/dev/null < "$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "${p#/proc/}"
      return
    fi
  done
}
cpu_of() {  # utime + stime, in clock ticks
  local p
  p=$(kestrum_pid)
  # Not found, the path would be the system's own /proc/stat.
  if [ -n "$p" ]; then awk '{print $14 + $15}' "/proc/$p/stat" 2>/dev/null || echo 0; else echo 0; fi
}
# Private memory as the system keeps it (the resident pages no other process shares), in one
# read of the process's maps, and by kind: the C library's heap (Wine's Unix side: windows, GDI
# objects, fonts), the other anonymous memory (Wine's Windows heaps among it), the X server's
# shared images of the windows on screen, and the rest (mapped files). Prints the total, the
# total without the X images (they follow what is on screen at that moment), and the kinds.
private_memory() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / {k = ($6 == "[heap]") ? "heap" : ($6 == "") ? "anon" : ($6 ~ /SYSV/) ? "xshm" : "files"; next}
       /^Private_(Clean|Dirty):/ {s[k] += $2; t += $2}
       END {printf "%d %d heap %d, other anonymous %d, X images %d, files %d KB", t, t - s["xshm"], s["heap"], s["anon"], s["xshm"], s["files"]}' \
    "/proc/$(kestrum_pid)/smaps" 2>/dev/null
}
# What the C library's heap holds in use, against what it keeps: freed memory it does not give
# back stays private memory. Asked of the process through gdb where it is installed; the
# figures land on the standard error the process inherited.
c_heap() {
  command -v gdb > /dev/null || return
  local p
  p=$(kestrum_pid)
  [ -n "$p" ] || return
  timeout 60 gdb -p "$p" -batch -ex 'call (void)malloc_stats()' -ex detach > /dev/null 2>&1
  tr -d '\r' < "$err" | awk '/^Total \(incl. mmap\)/ {t = 1; next}
    t && /system bytes/ {held = $4} t && /in use bytes/ {use = $5; t = 0}
    END {if (held) printf ", C library heap in use %d of %d KB held", use / 1024, held / 1024}'
}
declare -A idle=() memory=() screenless=() kinds=()
while kill -0 "$bench" 2>/dev/null; do
  for phase in start end; do
    if [ -z "${idle[$phase]:-}" ] && grep -q "idle ($phase): three panels" "$out"; then
      a=$(cpu_of); sleep 10; b=$(cpu_of)
      # Kestrum not found at either end: no figure rather than a wrong one.
      [ "$a" -gt 0 ] && [ "$b" -ge "$a" ] && idle[$phase]=$(( (b - a) * 1000 / $(getconf CLK_TCK) )) || idle[$phase]="?"
    fi
  done
  for cycle in $(sed -n 's/^figures after cycle \([0-9]*\), measuring.*/\1/p' "$out"); do
    if [ -z "${memory[$cycle]:-}" ]; then
      read -r total without rest <<< "$(private_memory)"
      memory[$cycle]=${total:-0} screenless[$cycle]=${without:-0} kinds[$cycle]="$rest$(c_heap)"
    fi
  done
  sleep 0.2
done
wait "$bench"
rc=$?
tr -d '\r' < "$out" | grep -v "measuring"
cycles=($(printf '%s\n' "${!memory[@]}" | sort -n))
for cycle in "${cycles[@]}"; do
  echo "Kestrum.exe private memory after cycle $cycle: ${memory[$cycle]} KB (${kinds[$cycle]})"
done
growth() {  # from cycle $1 to cycle $2
  echo "private memory growth from cycle $1 to $2: $(( memory[$2] - memory[$1] )) KB" \
    "($(( screenless[$2] - screenless[$1] )) KB without the X images)"
}
[ "${#cycles[@]}" -ge 2 ] && growth "${cycles[0]}" "${cycles[-1]}"
[ "${#cycles[@]}" -ge 3 ] && growth "${cycles[-2]}" "${cycles[-1]}"
for phase in start end; do
  echo "idle ($phase): Kestrum.exe with three panels, 10 s: ${idle[$phase]:-?} ms CPU"
done
if [[ "${idle[start]:-}" =~ ^[0-9]+$ && "${idle[end]:-}" =~ ^[0-9]+$ ]] && [ "${idle[start]}" -gt 0 ]; then
  awk -v a="${idle[start]}" -v b="${idle[end]}" 'BEGIN { printf "idle CPU, end against start: %.2f x\n", b / a }'
fi
# Wine reports an unhandled exception of any program on the standard error it inherited.
echo "crash reports from Wine: $(grep -ciE 'unhandled (exception|page fault)|winedbg|backtrace:' "$err")"
rm -f "$out" "$err"
echo "Load after:  $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
exit "$rc"
