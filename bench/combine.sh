#!/usr/bin/env bash
# Combines shapes of input with tomefuse-combine, `qpdf --empty --pages`, pdfunite and
# `mutool merge`, and prints the median wall time and peak resident memory of each, with the
# ratios to qpdf and to mutool.
#   bench/combine.sh [BUILD_DIR] [RUNS] [SHAPES...]   (after `make`; BUILD_DIR defaults to build)
# Shapes: A 20 files x 50 pages, 30-item outlines; B 200 x 10 pages; C 2,000 x 2 pages;
# real, the Debian documentation set of bench/realpdfs.tsv, in its order (made beforehand by
# bench/realpdfs.sh into $REALPDFS, by default ~/.cache/tomefuse/realpdfs; skipped when missing);
# scan, 8 files x 5 pages of 8 MiB noise images (320 MiB); raw, the same stored unfiltered;
# invoices, 200 one-page files sharing one font and one logo. All seven when none is named. Every run
# is under `ulimit -n 1024`. The tools take turns run by run, so a machine that slows down for a
# while slows all of them alike.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${2:-5}
shift $(($# < 2 ? $# : 2))
shapes=("$@")
[ ${#shapes[@]} -gt 0 ] || shapes=(A B C real scan raw invoices)
for shape in "${shapes[@]}"; do
  case $shape in
    A | B | C | real | scan | raw | invoices) ;;
    *) echo "combine.sh: unknown shape $shape (A, B, C, real, scan, raw, invoices)" >&2; exit 2 ;;
  esac
done
realpdfs=${REALPDFS:-${XDG_CACHE_HOME:-$HOME/.cache}/tomefuse/realpdfs}
scripts/install-deps

# mutool is for the comparison only, so it is installed here rather than by install-deps.
if ! command -v mutool >/dev/null; then
  echo "combine.sh: installing mupdf-tools for mutool" >&2
  if [ "$(id -u)" -eq 0 ]; then
    sudo=()
  elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo=(sudo -n)
  else
    echo "combine.sh: needs mutool: run 'sudo apt-get install mupdf-tools'" >&2
    exit 1
  fi
  install=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends mupdf-tools)
  "${install[@]}" >/dev/null || { "${sudo[@]}" apt-get update -q >/dev/null && "${install[@]}" >/dev/null; }
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tools=(tomefuse qpdf pdfunite mutool)

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

# Prints the input files of a shape, making them first, or nothing when the shape cannot be run.
inputs() {
  case $1 in
    real)
      local name missing=0
      while IFS=$'\t' read -r name _; do
        [[ $name == \#* ]] && continue
        [ -f "$realpdfs/$name" ] || missing=1
      done <bench/realpdfs.tsv
      if [ $missing -eq 1 ]; then
        echo "combine.sh: skipping shape real: the set is not in $realpdfs; make it with" \
          "'bench/realpdfs.sh $realpdfs' (or set REALPDFS to where it is)" >&2
        return
      fi
      awk -F'\t' -v dir="$realpdfs" '!/^#/ { printf "%s/%s\n", dir, $1 }' bench/realpdfs.tsv
      ;;
    *)
      "$build/bench/tomefuse-bench-inputs" "$1" "$work/$1" >&2
      ls "$work/$1"/*.pdf
      ;;
  esac
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }

# The goals for tomefuse: time / qpdf at most 1, and peak memory at most qpdf's plus the size of
# its own output (that column at most 1); on the real set, against mutool too.
printf '| shape | tool | median s | peak RSS MiB | output MiB | output / inputs | time / qpdf | memory / qpdf | memory / (qpdf + output) | time / mutool | memory / mutool |\n'
printf '|---|---|---|---|---|---|---|---|---|---|---|\n'
for shape in "${shapes[@]}"; do
  files=$(inputs "$shape" | sed "s/.*/'&'/" | tr '\n' ' ')
  [ -n "$files" ] || continue
  insize=$(eval "cat $files" | wc -c)
  declare -A command=(
    [tomefuse]="'$build/src/tomefuse-combine' --quiet --file-bookmarks --keep-bookmarks -o '$work/out-tomefuse.pdf' $files"
    [qpdf]="qpdf --empty --pages $files -- '$work/out-qpdf.pdf'"
    [pdfunite]="pdfunite $files '$work/out-pdfunite.pdf'"
    [mutool]="mutool merge -o '$work/out-mutool.pdf' $files"
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
      printf '| %s | %s | failed | | | | | | | | |\n' "$shape" "$tool"
      continue
    fi
    t=${t_med[$tool]} m=${m_med[$tool]} qt=${t_med[qpdf]:-0} qm=${m_med[qpdf]:-0}
    o=$(stat -c %s "$work/out-$tool.pdf" 2>/dev/null || echo 0)
    printf '| %s | %s | %.3f | %.1f | %.1f | %s | %s | %s | %s | %s | %s |\n' "$shape" "$tool" "$t" \
      "$(awk -v m="$m" 'BEGIN { print m / 1024 }')" "$(awk -v o="$o" 'BEGIN { print o / 1048576 }')" "$(ratio "$o" "$insize")" \
      "$(ratio "$t" "$qt")" "$(ratio "$m" "$qm")" "$(ratio "$m" "$(awk -v q="$qm" -v o="$o" 'BEGIN { print q + o / 1024 }')")" \
      "$(ratio "$t" "${t_med[mutool]:-0}")" "$(ratio "$m" "${m_med[mutool]:-0}")"
  done
  rm -rf "$work"/out-*.pdf "${work:?}/$shape"
  unset command times mems failed t_med m_med
done
echo
echo "$(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $runs runs each"
