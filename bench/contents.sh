#!/usr/bin/env bash
# What a contents page costs: combines 400 files of 10 pages (20 bookmarks each) with
# tomefuse-combine without a contents page, with one listing the files, and with one listing
# every bookmark too, the three taking turns run by run; prints the median wall times and the
# share of the combine each contents page adds.
#   bench/contents.sh [BUILD_DIR] [RUNS]   (after `make`; BUILD_DIR defaults to build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/tomefuse-bench-inputs" contents "$work/in"

declare -A times
modes=(plain files all)
flags_plain=()
flags_files=(--contents)
flags_all=(--contents=all)
for ((run = 0; run < runs; ++run)); do
  for mode in "${modes[@]}"; do
    declare -n flags="flags_$mode"
    start=$(date +%s%N)
    "$build/src/tomefuse-combine" -q -o "$work/out.pdf" "${flags[@]}" "$work"/in/*.pdf
    end=$(date +%s%N)
    times[$mode]+="$(awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 1e9 }') "
  done
done

median() { tr ' ' '\n' | grep . | sort -g | sed -n "$(($1 / 2 + 1))p"; }
plain=$(echo "${times[plain]}" | median "$runs")
printf '%-40s %8s %10s\n' "400 files x 10 pages, $runs runs" "median s" "added"
for mode in "${modes[@]}"; do
  m=$(echo "${times[$mode]}" | median "$runs")
  label=$mode
  [ "$mode" = plain ] && label="no contents page"
  [ "$mode" = files ] && label="--contents (400 lines)"
  [ "$mode" = all ] && label="--contents=all (8,400 lines)"
  printf '%-40s %8.3f %9.1f%%\n' "$label" "$m" "$(awk -v a="$m" -v b="$plain" 'BEGIN { print (a - b) / b * 100 }')"
done
