#!/usr/bin/env bash
# Builds the libFuzzer targets of the window-free picture code with clang and runs each for a
# bounded time from a generated seed corpus; prints executions and findings. Not a test.
# Usage: fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=$root/build/fuzz
mkdir -p "$out"
cxx=${CXX_FUZZ:-clang++-14}
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root/src")

python3 "$root/tests/fuzz/make_corpus.py" "$out/seeds"

declare -A sources=(
  [image_info]="src/panel/DCImageInfo.cpp src/kit/ByteSource.cpp src/kit/ExifThumbnail.cpp"
  [gif_compositor]="src/kit/GifAnimation.cpp src/kit/PixelImage.cpp"
)
status=0
for target in image_info gif_compositor; do
  srcs=()
  for s in ${sources[$target]}; do srcs+=("$root/$s"); done
  "$cxx" "${flags[@]}" "$root/tests/fuzz/${target}_fuzz.cpp" "${srcs[@]}" -o "$out/${target}_fuzz"
  mkdir -p "$out/corpus/$target" "$out/findings/$target"
  log=$out/$target.log
  # Every crash, leak or time-out is written to findings/ and ends the run.
  set +e
  "$out/${target}_fuzz" "$out/corpus/$target" "$out/seeds/$target" -max_total_time="$seconds" -max_len=4096 \
    -rss_limit_mb=1024 -timeout=10 -artifact_prefix="$out/findings/$target/" -print_final_stats=1 >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
  found=$(find "$out/findings/$target" -type f | wc -l)
  printf '%-15s executions %-10s corpus %-5s findings %s (exit %s)\n' "$target" "${execs:-?}" \
    "$(find "$out/corpus/$target" -type f | wc -l)" "$found" "$rc"
  [ "$rc" -eq 0 ] && [ "$found" -eq 0 ] || status=1
done
exit $status
