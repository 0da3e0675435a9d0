#!/usr/bin/env bash
# Times the elapsed time of a batch in a daylight-saving zone: PAIRS (default 1,000,000) random wall-time pairs
# in Europe/Berlin, answered as JSON (which carries elapsedSeconds) against the same batch as TSV (without
# it), in CPU ns per pair, the median of RUNS (default 3) batches each. Prints the load and the ratio, and
# fails when it is above LIMIT (default 2). Builds nothing.
#   bench/cli/measure_elapsed.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
pairs=${PAIRS:-1000000}
runs=${RUNS:-3}
limit=${LIMIT:-2}
cli=$build/chronel-cli
[ -x "$cli" ] || { echo "missing $cli: build it first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C TZ=Europe/Berlin

. "$(dirname "$0")/common.sh"

random_pairs "$pairs" 1970 > "$work/pairs"

# The CPU ns per pair (user + system) of a batch in the format given; the median of the runs.
per_pair() {
    for ((i = 0; i < runs; i++)); do
        /usr/bin/time -f '%U %S' -o "$work/time" "$cli" --format "$1" diff - - < "$work/pairs" > "$work/out" || true
        awk -v n="$pairs" '{ print ($1 + $2) * 1e9 / n }' "$work/time"
    done | median
}

echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
json=$(per_pair json)
grep -q '"elapsedSeconds":[0-9-]' "$work/out" || { echo "the JSON batch gave no elapsed seconds" >&2; exit 1; }
tsv=$(per_pair tsv)
ratio=$(awk -v j="$json" -v t="$tsv" 'BEGIN { print j / t }')
printf 'batch diff of %d Berlin pairs: JSON with elapsed time %.0f ns, TSV without %.0f ns per pair: ratio %.2f (limit %s)\n' \
    "$pairs" "$json" "$tsv" "$ratio" "$limit"
awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r <= l) }'
