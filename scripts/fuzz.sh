#!/usr/bin/env bash
# Builds the libFuzzer targets of the window-free code with clang and runs each, one after
# the other, for a bounded time from the seed corpus tests/fuzz/make_corpus.py writes; prints
# executions, corpus size and findings per target and the executions of all. Not a test.
# Usage: fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=$root/build/fuzz
mkdir -p "$out"
cxx=${CXX_FUZZ:-clang++-14}
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root/src")

python3 "$root/tests/fuzz/make_corpus.py" "$out/seeds"

targets=(image_info gif_compositor copydata idlist registry_path ignore_list hot_list catalogue)
registry="src/settings/QRegistry.cpp src/settings/MemoryRegistry.cpp"
declare -A sources=(
  [image_info]="src/panel/DCImageInfo.cpp src/kit/ByteSource.cpp src/kit/ExifThumbnail.cpp"
  [gif_compositor]="src/kit/GifAnimation.cpp src/kit/PixelImage.cpp"
  [copydata]="src/protocol/CopyData.cpp src/util/IdList.cpp"
  [idlist]="src/util/IdList.cpp src/util/IdListBytes.cpp src/kit/ShellIdArray.cpp"
  [registry_path]="$registry"
  [ignore_list]="src/protocol/IgnoreList.cpp src/protocol/IgnoreListRead.cpp src/util/TextCase.cpp"
  [hot_list]="src/panel/HotFolderList.cpp src/settings/Catalogue.cpp $registry src/util/IdList.cpp"
  [catalogue]="src/settings/Catalogue.cpp $registry"
)
# Inputs long enough to pass the limits under test: 0x8000-byte texts and folder lists, two
# lists of that size, hot-folder lists above the panel's 4100 bytes.
declare -A max_len=([copydata]=33100 [idlist]=66000 [hot_list]=16384)
status=0
total=0
for target in "${targets[@]}"; do
  srcs=()
  for s in ${sources[$target]}; do srcs+=("$root/$s"); done
  "$cxx" "${flags[@]}" "$root/tests/fuzz/${target}_fuzz.cpp" "${srcs[@]}" -o "$out/${target}_fuzz"
  # Findings are those of this run: earlier ones were of the code as it was then.
  rm -rf "$out/findings/$target"
  mkdir -p "$out/corpus/$target" "$out/findings/$target"
  log=$out/$target.log
  # Every crash, leak or time-out is written to findings/ and ends the run.
  set +e
  "$out/${target}_fuzz" "$out/corpus/$target" "$out/seeds/$target" -max_total_time="$seconds" \
    -max_len="${max_len[$target]:-4096}" -rss_limit_mb=1024 -timeout=10 -artifact_prefix="$out/findings/$target/" \
    -print_final_stats=1 >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
  found=$(find "$out/findings/$target" -type f | wc -l)
  printf '%-15s executions %-10s corpus %-5s findings %s (exit %s)\n' "$target" "${execs:-?}" \
    "$(find "$out/corpus/$target" -type f | wc -l)" "$found" "$rc"
  total=$((total + ${execs:-0}))
  [ "$rc" -eq 0 ] && [ "$found" -eq 0 ] || status=1
done
printf '%-15s executions %s\n' total "$total"
exit $status
