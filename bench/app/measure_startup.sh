#!/usr/bin/env bash
# Measures the built program as a user meets it, under Xvfb on a fresh profile:
#   start-up: from launch to the main window mapped (median of RUNS starts, warm disk cache);
#   memory:   peak resident set (VmHWM) once the window is up;
#   idle CPU: CPU time used over IDLE_SECONDS with the window open and untouched.
# The floor, a minimal Qt window built beside it (bench/minimal_window, same Qt and flags), is started the
# same way, alternating with the program, and the ratio of the medians is printed.
# usage: bench/app/measure_startup.sh [build/chronel [build/bench/minimal_window]]
#        (RUNS=10 IDLE_SECONDS=60 TIMEOUT=20 by default; IDLE_SECONDS=0 skips memory and idle CPU)
# Any wait gives up after TIMEOUT seconds, and a program that ends before its window shows is reported.
set -euo pipefail
bin=${1:-build/chronel}
floor=${2:-$(dirname "$bin")/bench/minimal_window}
[ -x "$floor" ] || { echo "no floor program $floor (build the minimal_window target)" >&2; exit 1; }
runs=${RUNS:-10}
idle=${IDLE_SECONDS:-60}
timeout=${TIMEOUT:-20}
. "$(dirname "$0")/xvfb.sh"
start_xvfb
export XDG_CONFIG_HOME=$profile/config
fail() { echo "$*" >&2; exit 1; }

# Milliseconds from launch of program $1 until a visible window of the process exists, and the process id.
start_once() {
    local program=$1 t0 pid deadline=$((SECONDS + timeout))
    t0=$(date +%s%N)
    "$program" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || fail "$program ended before its window showed"
        [ $SECONDS -lt $deadline ] || { kill "$pid"; fail "no window of $program within ${timeout} s"; }
        sleep 0.005
    done
    local ms=$(( ($(date +%s%N) - t0) / 1000000 ))
    # CPU time of all its threads so far: steadier than wall time while other work loads the machine.
    echo "$ms" "$pid" "$(cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print int(s / 1e6)}')"
}

for program in "$bin" "$floor"; do
    "$program" >/dev/null 2>&1 & warm=$!; sleep 2; kill "$warm" 2>/dev/null || true; wait "$warm" 2>/dev/null || true
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
times=()
cpus=()
floor_times=()
floor_cpus=()
for _ in $(seq "$runs"); do
    for program in "$bin" "$floor"; do
        result=$(start_once "$program") || exit 1
        read -r ms pid cpu <<< "$result"
        if [ "$program" = "$bin" ]; then
            times+=("$ms") cpus+=("$cpu")
        else
            floor_times+=("$ms") floor_cpus+=("$cpu")
        fi
        kill "$pid"; wait "$pid" 2>/dev/null || true
    done
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
median=$(median "${times[@]}") cpu=$(median "${cpus[@]}")
floor_median=$(median "${floor_times[@]}") floor_cpu=$(median "${floor_cpus[@]}")
echo "start to window shown: median ${median} ms, CPU ${cpu} ms over ${runs} starts (all: ${times[*]})"
echo "minimal Qt window (floor): median ${floor_median} ms, CPU ${floor_cpu} ms (all: ${floor_times[*]})"
echo "ratio to the floor: $(ratio "$median" "$floor_median") wall, $(ratio "$cpu" "$floor_cpu") CPU (load: $(cut -d' ' -f1 /proc/loadavg))"
[ "$idle" -gt 0 ] || exit 0

result=$(start_once "$bin") || exit 1
read -r _ pid _ <<< "$result"
sleep 1
hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
echo "peak memory (VmHWM): $((hwm / 1024)) MiB"
ticks=$(getconf CLK_TCK)
cpu0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep "$idle"
cpu1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
awk -v d=$((cpu1 - cpu0)) -v t="$ticks" -v s="$idle" \
    'BEGIN { printf "idle CPU over %d s: %.2f%% of one core (%.2f s)\n", s, 100 * d / t / s, d / t }'
kill "$pid"; wait "$pid" 2>/dev/null || true
