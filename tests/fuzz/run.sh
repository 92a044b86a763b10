#!/bin/sh
# Runs the engine fuzzer: run.sh FUZZER WORKDIR [SECONDS] [libFuzzer options...]
# WORKDIR/corpus collects what the run finds (kept between runs), WORKDIR/seeds links the seed
# files (those of the corpus named in seeds.txt, and the hand-made ones in seeds/), and crashes,
# leaks and timeouts land in WORKDIR/artifacts.
set -eu
[ $# -ge 2 ] || { echo "usage: $0 FUZZER WORKDIR [SECONDS] [libFuzzer options...]" >&2; exit 2; }
fuzzer=$1 work=$2 seconds=${3:-1200}
shift 2; [ $# -gt 0 ] && shift
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
grep -v '^#' "$here/seeds.txt" | while read -r name; do
    [ -n "$name" ] && ln -sf "$here/../corpus/qpdf/$name" "$work/seeds/$name"
done
for seed in "$here"/seeds/*.pdf; do
    ln -sf "$seed" "$work/seeds/hand-made-$(basename "$seed")"
done
# The engine's own limits apply; these keep one input from taking the machine.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$fuzzer" "$work/corpus" "$work/seeds" \
    -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -max_len=131072 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$@"
