#!/usr/bin/env bash
# Combines camera-sized JPEGs (tomefuse-bench-inputs photos: 200 files of 4,000 x 3,000 pixels,
# about 2.7 MB each) with tomefuse-combine and with img2pdf, which embeds JPEGs as they are too,
# and prints the median wall time and peak resident memory of each, for the first 50 and all 200
# files: memory that stays flat as the count grows is the point.
#   bench/images.sh [BUILD_DIR] [RUNS]   (after `make`; img2pdf from Debian's package of that name)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${2:-3}
command -v img2pdf >/dev/null || { echo "images.sh: needs img2pdf: apt-get install img2pdf" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/tomefuse-bench-inputs" photos "$work/photos"

run_once() {
  local start end out
  start=$(date +%s%N)
  out=$(/usr/bin/time -f '%M' bash -c "$1 >/dev/null 2>&1" 2>&1) || { echo failed; return; }
  end=$(date +%s%N)
  awk -v ns=$((end - start)) -v kib="$(echo "$out" | tail -1)" 'BEGIN { printf "%.3f %d\n", ns / 1e9, kib }'
}
median() { sort -g | sed -n "$(($1 / 2 + 1))p"; }

printf '| files | tool | median s | peak RSS MiB | output MiB |\n|---|---|---|---|---|\n'
for count in 50 200; do
  files=$(ls "$work"/photos/*.jpg | head -n "$count" | tr '\n' ' ')
  declare -A command=(
    [tomefuse]="'$build/src/tomefuse-combine' --quiet -o '$work/out-tomefuse.pdf' $files"
    [img2pdf]="img2pdf -o '$work/out-img2pdf.pdf' $files"
  )
  declare -A times=() mems=()
  for ((i = 0; i < runs; i++)); do
    for tool in tomefuse img2pdf; do
      read -r t m <<<"$(run_once "${command[$tool]}")"
      times[$tool]+="$t "
      mems[$tool]+="$m "
    done
  done
  for tool in tomefuse img2pdf; do
    t=$(echo "${times[$tool]}" | tr ' ' '\n' | grep . | median "$runs")
    m=$(echo "${mems[$tool]}" | tr ' ' '\n' | grep . | median "$runs")
    o=$(stat -c %s "$work/out-$tool.pdf")
    printf '| %s | %s | %s | %.1f | %.1f |\n' "$count" "$tool" "$t" "$(awk -v m="$m" 'BEGIN { print m / 1024 }')" \
      "$(awk -v o="$o" 'BEGIN { print o / 1048576 }')"
  done
  unset command times mems
done
echo
echo "$(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $runs runs each"
