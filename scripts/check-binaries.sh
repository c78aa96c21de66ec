#!/usr/bin/env bash
# Checks the deliverables of each build without running them: the right format (PE32 for x86,
# PE32+ for x64), VT_brow.dll's exports exactly SetHook and RemoveHook, no C++ runtime DLLs,
# the installer and zip of the architecture. Prints one line a check and a closing
# "N passed, N failed" line. Usage: check-binaries.sh [x86] [x64]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
passed=0; failed=0
check() {  # $1 = what, rest = command that must succeed
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then passed=$((passed + 1)); echo "ok      $what"
  else failed=$((failed + 1)); echo "FAILED  $what"; fi
}
# Outputs are read whole before matching: grep -q ending a pipe early fails it under pipefail.
headers() { x86_64-w64-mingw32-objdump -p "$1"; }
magic() { local h; h=$(headers "$1") && grep -q "(${2})" <<<"$h"; }
exports_exactly() {
  [ "$(x86_64-w64-mingw32-objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
       sed -n 's/^\s*\[\s*[0-9]*\]\s*//p' | sort | tr '\n' ' ')" = "RemoveHook SetHook " ]
}
no_runtime_dlls() { local h; h=$(headers "$1") && ! grep -iqE 'DLL Name: (libstdc|libgcc|libwinpthread)' <<<"$h"; }
installer_format() {
  local kind; kind=$(file "$1") || return 1
  case $2 in x86) grep -q 'PE32 executable.*Nullsoft' <<<"$kind" ;;
             x64) grep -q 'PE32+ executable' <<<"$kind" && [ "$(grep -ac Nullsoft "$1")" -gt 0 ] ;; esac
}
zip_holds() {
  local list f; list=$(unzip -l "$1") || return 1; shift
  for f in "$@"; do grep -q " $f\$" <<<"$list" || return 1; done
}

for arch in "${@:-x86 x64}"; do
  for a in $arch; do
    dist=$root/build/dist/$a
    want=PE32; [ "$a" = x64 ] && want=PE32+
    for f in Kestrum.exe VT_brow.dll TestVT.exe; do
      check "$a $f is $want" magic "$dist/$f" "$want"
      check "$a $f needs no C++ runtime DLL" no_runtime_dlls "$dist/$f"
    done
    check "$a VT_brow.dll exports exactly SetHook and RemoveHook" exports_exactly "$dist/VT_brow.dll"
    check "$a VantrelSetup-$a.exe is a $want installer" installer_format "$dist/VantrelSetup-$a.exe" "$a"
    check "$a portable zip holds the program files" zip_holds "$dist/Vantrel-1.01-portable-$a.zip" \
      Kestrum.exe VT_brow.dll TestVT.exe VT.chm
  done
done
echo "binaries: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
