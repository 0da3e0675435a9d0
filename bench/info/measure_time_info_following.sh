#!/usr/bin/env bash
# Measures the built program with the Time Info page open and Current ticked, as a user leaves it, under
# Xvfb on a fresh profile and a program folder of its own (so english.lng is the one the program writes):
#   CPU:   CPU time over SECONDS (default 60), against the same program on the same page with Current
#          unticked, so the difference is what following the clock costs (median of RUNS, default 3);
#   files: whether the settings file or english.lng was written during the following run (inode, size
#          and modification time to the nanosecond, before and after);
#   strace (when installed, one more run each way): the file system calls over SECONDS with Current
#          ticked (opens should be 0: a tick reads no file), and the event loop's wake-ups (poll calls)
#          over SECONDS with Current unticked (an idle program should wake at most once a second).
# usage: bench/info/measure_time_info_following.sh [build/chronel]
set -euo pipefail
bin=$(realpath "${1:-build/chronel}")
seconds=${SECONDS_TO_WATCH:-60}
runs=${RUNS:-3}
command -v Xvfb >/dev/null || { echo "needs Xvfb (apt-get install xvfb)" >&2; exit 1; }

work=$(mktemp -d)
display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 1600x1200x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
sleep 1

# The program with its help file beside it; english.lng is written there at start-up.
mkdir -p "$work/program"
cp "$bin" "$work/program/chronel"
cp "$(dirname "$bin")/chronel.chm" "$work/program/" 2>/dev/null || true

stamp() { stat -c '%i %s %.9Y' "$1" 2>/dev/null || echo missing; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# One run: prints the CPU seconds used over the watched interval, and "files-written" when a file changed.
# Starts the program on the Time Info page with Current ticked (1) or not (0); sets pid and profile.
start_program() {
    profile=$(mktemp -d -p "$work")
    mkdir -p "$profile/Orvane"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n"ActivePageNo"=dword:00000002\n"Visibled"=dword:00000001\n"Current"=dword:%08x\n' \
        "$1" > "$profile/Orvane/Chronel.reg"
    DISPLAY=$display XDG_CONFIG_HOME=$profile "$work/program/chronel" >/dev/null 2>&1 &
    pid=$!
    sleep 3   # start-up done: settings loaded, english.lng written
}

run_once() {
    local current=$1 profile pid before_settings before_language t0 t1
    start_program "$current"
    before_settings=$(stamp "$profile/Orvane/Chronel.reg")
    before_language=$(stamp "$work/program/english.lng")
    t0=$(cpu_ticks "$pid")
    sleep "$seconds"
    t1=$(cpu_ticks "$pid")
    local written=""
    [ "$(stamp "$profile/Orvane/Chronel.reg")" = "$before_settings" ] || written="$written settings"
    [ "$(stamp "$work/program/english.lng")" = "$before_language" ] || written="$written english.lng"
    kill "$pid"; wait "$pid" 2>/dev/null || true
    awk -v d=$((t1 - t0)) -v t="$(getconf CLK_TCK)" -v w="$written" 'BEGIN { printf "%.2f%s\n", d / t, (w == "" ? "" : " written:" w) }'
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

following=(); idle=(); notes=""
for _ in $(seq "$runs"); do
    read -r cpu note < <(run_once 1)
    following+=("$cpu"); [ -z "${note:-}" ] || notes="$notes $note"
    read -r cpu _ < <(run_once 0)
    idle+=("$cpu")
done
f=$(printf '%s\n' "${following[@]}" | median)
i=$(printf '%s\n' "${idle[@]}" | median)
awk -v f="$f" -v i="$i" -v s="$seconds" -v r="$runs" 'BEGIN {
    printf "Current ticked:   %.2f s CPU over %d s = %.3f%% of one core (median of %d)\n", f, s, 100 * f / s, r
    printf "Current unticked: %.2f s CPU over %d s = %.3f%% of one core\n", i, s, 100 * i / s
    printf "following the clock costs %.3f%% of one core\n", 100 * (f - i) / s }'
# The calls of every thread over the watched interval, counted by name: "name count" lines.
trace_once() {
    local profile pid
    start_program "$1"
    timeout -s INT "$seconds" strace -f -c -o "$work/strace.txt" -p "$pid" \
        -e trace=open,openat,stat,newfstatat,statx,access,faccessat,faccessat2,readlink,readlinkat,poll,ppoll \
        >/dev/null 2>&1 || true
    kill "$pid"; wait "$pid" 2>/dev/null || true
    # Columns: % time, seconds, usecs/call, calls, [errors], syscall.
    awk '$NF ~ /^[a-z0-9_]+$/ && $NF != "total" && $4 ~ /^[0-9]+$/ { print $NF, $4 }' \
        "$work/strace.txt"
}
if command -v strace >/dev/null; then
    echo "strace, Current ticked, $seconds s (about $seconds ticks):"
    trace_once 1 | awk '{ printf "  %-12s %6d\n", $1, $2 }'
    echo "strace, Current unticked, $seconds s:"
    trace_once 0 | awk '$1 ~ /poll/ { printf "  %-12s %6d = %.2f wake-ups a second\n", $1, $2, $2 / s; w = 1 }
                        END { if (!w) print "  no wake-ups" }' s="$seconds"
else
    echo "strace not installed: no call counts (apt-get install strace)"
fi
if [ -z "$notes" ]; then
    echo "files written while following: none (settings file and english.lng unchanged)"
else
    echo "files written while following:$notes"
fi
