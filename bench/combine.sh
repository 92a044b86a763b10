#!/usr/bin/env bash
# Combines three shapes of input with tomefuse-combine, `qpdf --empty --pages` and pdfunite, and
# prints the median wall time and peak resident memory of each, with the ratios to qpdf.
#   bench/combine.sh [BUILD_DIR] [RUNS]       (after `make`; BUILD_DIR defaults to build)
# Shapes: A 20 files x 50 pages, 30-item outlines; B 200 x 10 pages; C 2,000 x 2 pages. Every run
# is under `ulimit -n 1024`. The tools take turns run by run, so a machine that slows down for a
# while slows all of them alike.
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

tools=(tomefuse qpdf pdfunite)

# One run of a command: prints "seconds peak_kib", or "failed". The wall time is read around
# /usr/bin/time, whose own clock resolves only 10 ms; it includes the start-up of bash and time,
# about a millisecond, alike for every tool.
run_once() {
  local out start end
  start=$(date +%s%N)
  if ! out=$(/usr/bin/time -f '%M' bash -c "ulimit -n 1024; $1 >/dev/null 2>&1" 2>&1); then
    echo failed; return
  fi
  end=$(date +%s%N)
  awk -v ns=$((end - start)) -v kib="$(echo "$out" | tail -1)" 'BEGIN { printf "%.4f %d\n", ns / 1e9, kib }'
}

median() { sort -g | sed -n "$(($1 / 2 + 1))p"; }

# The goal for tomefuse: time / qpdf at most 1, and peak memory at most qpdf's plus the size of
# its own output (the last column at most 1).
printf '| shape | tool | median s | peak RSS MiB | output MiB | time / qpdf | memory / qpdf | memory / (qpdf + output) |\n'
printf '|---|---|---|---|---|---|---|---|\n'
for shape in A B C; do
  files=$(ls "$work/$shape"/*.pdf | tr '\n' ' ')
  declare -A command=(
    [tomefuse]="'$build/src/tomefuse-combine' --quiet --file-bookmarks --keep-bookmarks -o '$work/out-tomefuse.pdf' $files"
    [qpdf]="qpdf --empty --pages $files -- '$work/out-qpdf.pdf'"
    [pdfunite]="pdfunite $files '$work/out-pdfunite.pdf'"
  )
  declare -A times=() mems=() failed=()
  for ((i = 0; i < runs; i++)); do
    for tool in "${tools[@]}"; do
      [ -n "${failed[$tool]:-}" ] && continue
      read -r t m <<<"$(run_once "${command[$tool]}")"
      if [ "$t" = failed ]; then
        failed[$tool]=1
        continue
      fi
      times[$tool]+="$t "
      mems[$tool]+="$m "
    done
  done
  declare -A t_med=() m_med=()
  for tool in "${tools[@]}"; do
    [ -n "${failed[$tool]:-}" ] && continue
    t_med[$tool]=$(echo "${times[$tool]}" | tr ' ' '\n' | grep . | median "$runs")
    m_med[$tool]=$(echo "${mems[$tool]}" | tr ' ' '\n' | grep . | median "$runs")
  done
  for tool in "${tools[@]}"; do
    if [ -n "${failed[$tool]:-}" ]; then
      printf '| %s | %s | failed | | | | | |\n' "$shape" "$tool"
      continue
    fi
    awk -v s="$shape" -v tool="$tool" -v t="${t_med[$tool]}" -v m="${m_med[$tool]}" -v qt="${t_med[qpdf]:-0}" \
      -v qm="${m_med[qpdf]:-0}" -v o="$(stat -c %s "$work/out-$tool.pdf" 2>/dev/null || echo 0)" 'BEGIN {
      printf "| %s | %s | %.3f | %.1f | %.1f | %s | %s | %s |\n", s, tool, t, m / 1024, o / 1048576,
        (qt > 0 ? sprintf("%.2f", t / qt) : "-"), (qm > 0 ? sprintf("%.2f", m / qm) : "-"),
        (qm > 0 ? sprintf("%.2f", m / (qm + o / 1024)) : "-") }'
  done
  rm -f "$work"/out-*.pdf
  unset command times mems failed t_med m_med
done
echo
echo "$(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $runs runs each"
