#!/usr/bin/env bash
# Times one answer of chronel-cli from start to exit against bench/cli/c_floor, a small C date tool built with
# the same flags: `chronel-cli diff 2020-01-01 2021-01-01` and `c_floor 2020-01-01 2021-01-01` in turn, RUNS
# (default 30) times each, CPU time (task-clock) under perf stat. Prints the machine's load, each median and
# the median of the pairs' ratios, and fails when that is above LIMIT (default 1.2). Builds nothing.
#   bench/cli/measure_start.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
runs=${RUNS:-30}
limit=${LIMIT:-1.2}
cli=$build/chronel-cli
floor=$build/bench/c_floor
for program in "$cli" "$floor"; do
    [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 1; }
done
command -v perf > /dev/null || { echo "perf is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The CPU milliseconds of one run of the command given.
cpu_ms() {
    perf stat -x, -e task-clock -o "$work/stat" "$@" > /dev/null
    awk -F, '$3 ~ /^task-clock/ { print $1 }' "$work/stat"
}
. "$(dirname "$0")/common.sh"

echo "load: $(cut -d' ' -f1-3 /proc/loadavg); locale: LC_ALL=${LC_ALL-} LANG=${LANG-}"
# A few runs first, so that both programs start from the page cache.
for _ in 1 2 3; do
    "$cli" diff 2020-01-01 2021-01-01 > /dev/null
    "$floor" 2020-01-01 2021-01-01 > /dev/null
done
for ((i = 0; i < runs; i++)); do
    c=$(cpu_ms "$cli" diff 2020-01-01 2021-01-01)
    f=$(cpu_ms "$floor" 2020-01-01 2021-01-01)
    echo "$c $f"
done > "$work/pairs"
cli_ms=$(awk '{ print $1 }' "$work/pairs" | median)
floor_ms=$(awk '{ print $2 }' "$work/pairs" | median)
ratio=$(awk '{ print $1 / $2 }' "$work/pairs" | median)
printf 'one diff, CPU median of %d: chronel-cli %.3f ms, C floor %.3f ms; median pair ratio %.2f (limit %s)\n' \
    "$runs" "$cli_ms" "$floor_ms" "$ratio" "$limit"
awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r <= l) }'
