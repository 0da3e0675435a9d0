#!/usr/bin/env bash
# Times chronel-cli against its floors:
# - a batch diff of PAIRS (default 1,000,000) random pairs, parsed, computed and printed as tsv, in CPU ns per
#   pair, against the in-process std::chrono floor with texts (BM_ComputeDifferenceFloor/far of
#   bench/calc/difference_bench.cpp, which draws its pairs over the same range);
# - one diff from process start to exit, in ms, against bench/cli/hello_world built with the same flags
#   (RUNS runs each, interleaved, medians; hyperfine is used when installed).
#   bench/cli/measure_cli.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
pairs=${PAIRS:-1000000}
runs=${RUNS:-300}
cli=$build/chronel-cli
hello=$build/bench/hello_world
for program in "$cli" "$hello" "$build/bench/chronel_bench"; do
    [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C TZ=UTC

. "$(dirname "$0")/common.sh"

random_pairs "$pairs" 8244 > "$work/pairs"

# CPU time (user + system) of five batches; the median.
for i in 1 2 3 4 5; do
    /usr/bin/time -f '%U %S' -o "$work/time" "$cli" --format tsv diff - - < "$work/pairs" > /dev/null
    awk -v n="$pairs" '{ print ($1 + $2) * 1e9 / n }' "$work/time"
done | median > "$work/batch"
"$build/bench/chronel_bench" --benchmark_filter='^BM_ComputeDifferenceFloor/far$' --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '$1 ~ /_median"?$/ { print 1e9 / $7 }' > "$work/floor"
batch=$(cat "$work/batch") floor=$(cat "$work/floor")
awk -v b="$batch" -v f="$floor" -v n="$pairs" \
    'BEGIN { printf "batch diff of %d pairs: %.0f ns per pair, floor %.0f ns per pair: ratio %.2f\n", n, b, f, b / f }'

if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 20 --runs "$runs" --export-json "$work/start.json" \
        "$cli diff 2003-01-31 2003-03-01" "$hello" > /dev/null
    python3 - "$work/start.json" << 'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
cli, hello = (r["median"] * 1000 for r in results)
print(f"start to exit: chronel-cli diff {cli:.2f} ms, hello world {hello:.2f} ms: ratio {cli / hello:.2f}")
PY
else
    : > "$work/cli"
    : > "$work/hello"
    for ((i = 0; i < runs; i++)); do
        t0=$EPOCHREALTIME
        "$cli" diff 2003-01-31 2003-03-01 > /dev/null
        t1=$EPOCHREALTIME
        "$hello" > /dev/null
        t2=$EPOCHREALTIME
        echo "$t0 $t1" | awk '{ print ($2 - $1) * 1000 }' >> "$work/cli"
        echo "$t1 $t2" | awk '{ print ($2 - $1) * 1000 }' >> "$work/hello"
    done
    cli_ms=$(median < "$work/cli") hello_ms=$(median < "$work/hello")
    awk -v c="$cli_ms" -v h="$hello_ms" -v n="$runs" 'BEGIN {
        printf "start to exit (median of %d): chronel-cli diff %.2f ms, hello world %.2f ms: ratio %.2f\n", n, c, h, c / h }'
fi
