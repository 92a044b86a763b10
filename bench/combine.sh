#!/usr/bin/env bash
# Combines three shapes of input with tomefuse-combine, `qpdf --empty --pages` and pdfunite, and
# prints the median wall time and peak resident memory of each, with the ratios to qpdf.
#   bench/combine.sh [BUILD_DIR] [RUNS]       (after `make`; BUILD_DIR defaults to build)
# Shapes: A 20 files x 50 pages, 30-item outlines; B 200 x 10 pages; C 2,000 x 2 pages, run
# under `ulimit -n 1024`.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${2:-5}
scripts/install-deps

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for shape in A B C; do
  "$build/bench/tomefuse-bench-inputs" "$shape" "$work/$shape"
done

# Runs a command $runs times; prints "median_seconds peak_kib", or "failed". The wall time is
# taken around /usr/bin/time, whose own clock resolves only 10 ms; both include the same start-up
# of bash and time, about a millisecond.
measure() {
  local times=() mems=() out start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    if ! out=$(/usr/bin/time -f '%M' bash -c "ulimit -n 1024; $1 >/dev/null 2>&1" 2>&1); then
      echo failed; return
    fi
    end=$(date +%s%N)
    times+=("$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')")
    mems+=("$(echo "$out" | tail -1)")
  done
  local mid=$((runs / 2))
  echo "$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$((mid + 1))p") $(printf '%s\n' "${mems[@]}" | sort -g | sed -n "$((mid + 1))p")"
}

# The goal for tomefuse: time / qpdf at most 1, and peak memory at most qpdf's plus the size of
# its own output (the last column at most 1).
printf '| shape | tool | median s | peak RSS MiB | output MiB | time / qpdf | memory / qpdf | memory / (qpdf + output) |\n'
printf '|---|---|---|---|---|---|---|---|\n'
for shape in A B C; do
  files=$(ls "$work/$shape"/*.pdf | tr '\n' ' ')
  declare -A result=()
  declare -A size=()
  result[tomefuse]=$(measure "'$build/src/tomefuse-combine' --quiet --file-bookmarks --keep-bookmarks -o '$work/out-t.pdf' $files")
  size[tomefuse]=$(stat -c %s "$work/out-t.pdf" 2>/dev/null || echo 0)
  result[qpdf]=$(measure "qpdf --empty --pages $files -- '$work/out-q.pdf'")
  size[qpdf]=$(stat -c %s "$work/out-q.pdf" 2>/dev/null || echo 0)
  result[pdfunite]=$(measure "pdfunite $files '$work/out-u.pdf'")
  size[pdfunite]=$(stat -c %s "$work/out-u.pdf" 2>/dev/null || echo 0)
  read -r qt qm <<<"${result[qpdf]}"
  for tool in tomefuse qpdf pdfunite; do
    if [ "${result[$tool]}" = failed ]; then
      printf '| %s | %s | failed | | | | | |\n' "$shape" "$tool"
      continue
    fi
    read -r t m <<<"${result[$tool]}"
    awk -v s="$shape" -v tool="$tool" -v t="$t" -v m="$m" -v qt="$qt" -v qm="$qm" -v o="${size[$tool]}" 'BEGIN {
      printf "| %s | %s | %.3f | %.1f | %.1f | %s | %s | %s |\n", s, tool, t, m / 1024, o / 1048576,
        (qt > 0 ? sprintf("%.2f", t / qt) : "-"), (qm > 0 ? sprintf("%.2f", m / qm) : "-"),
        (qm > 0 ? sprintf("%.2f", m / (qm + o / 1024)) : "-") }'
    rm -f "$work/out-t.pdf" "$work/out-q.pdf" "$work/out-u.pdf"
  done
  unset result size
done
echo
echo "$(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $runs runs each"
