#!/usr/bin/env bash
# Counts the file work of a start under Xvfb: opens of english.lng and Chronel.reg and fsync calls, up to
# the main window shown and over SETTLE seconds after it, for a first start (fresh profile, no english.lng
# beside the program) and a second start on the profile the first one left.
# usage: bench/app/strace_startup.sh [build/chronel]   (SETTLE=3 TIMEOUT=20 by default)
set -euo pipefail
bin=$(realpath "${1:-build/chronel}")
settle=${SETTLE:-3}
timeout=${TIMEOUT:-20}
. "$(dirname "$0")/xvfb.sh"
start_xvfb strace
export XDG_CONFIG_HOME=$profile/config XDG_DATA_HOME=$profile/data

english=$(dirname "$bin")/english.lng
[ -e "$english" ] && mv "$english" "$profile/english.lng.kept"
restore() {
    if [ -e "$profile/english.lng.kept" ]; then mv -f "$profile/english.lng.kept" "$english"; fi
    cleanup
}
trap restore EXIT

# Prints "<opens of english.lng> <opens of Chronel.reg> <fsyncs>" for the trace lines given on input.
count() {
    awk '/openat\(.*english\.lng"/ {e++} /openat\(.*Chronel\.reg"/ {r++} /[^a-z_](fsync|fdatasync)\(/ {f++}
         END {printf "english.lng %d, Chronel.reg %d, fsync %d", e, r, f}'
}

start_once() {
    local label=$1 trace=$profile/trace deadline=$((SECONDS + timeout)) pid child shown
    strace -f -qq -e trace=openat,fsync,fdatasync -e signal=none --timestamps=format:unix,precision:us \
        -o "$trace" "$bin" >/dev/null 2>&1 &
    pid=$!
    until child=$(pgrep -P "$pid") && xdotool search --onlyvisible --pid "$child" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "$bin ended before its window showed" >&2; exit 1; }
        [ $SECONDS -lt $deadline ] || { kill "$pid"; echo "no window within ${timeout} s" >&2; exit 1; }
        sleep 0.01
    done
    shown=$(date +%s.%N)
    sleep "$settle"
    kill "$child"; wait "$pid" 2>/dev/null || true
    echo "$label start, up to the window: $(awk -v t="$shown" '$2 + 0 <= t' "$trace" | count)"
    echo "$label start, ${settle} s after it:  $(awk -v t="$shown" '$2 + 0 > t' "$trace" | count)"
}

start_once first
start_once second
