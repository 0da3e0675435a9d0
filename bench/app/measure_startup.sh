#!/usr/bin/env bash
# Measures the built program as a user meets it, under Xvfb on a fresh profile:
#   start-up: from launch to the main window mapped (median of RUNS starts, warm disk cache);
#   memory:   peak resident set (VmHWM) once the window is up;
#   idle CPU: CPU time used over IDLE_SECONDS with the window open and untouched.
# usage: bench/app/measure_startup.sh [build/chronel]   (RUNS=10 IDLE_SECONDS=60 TIMEOUT=20 by default)
# Any wait gives up after TIMEOUT seconds, and a program that ends before its window shows is reported.
set -euo pipefail
bin=${1:-build/chronel}
runs=${RUNS:-10}
idle=${IDLE_SECONDS:-60}
timeout=${TIMEOUT:-20}
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install xvfb xdotool)" >&2; exit 1; }
done

display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 1600x1200x24 >/dev/null 2>&1 &
xvfb=$!
profile=$(mktemp -d)
cleanup() {
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$profile"
}
trap cleanup EXIT
export DISPLAY=$display XDG_CONFIG_HOME=$profile

fail() { echo "$*" >&2; exit 1; }

# Waits until the X server answers.
deadline=$((SECONDS + timeout))
until xdotool getdisplaygeometry >/dev/null 2>&1; do
    kill -0 "$xvfb" 2>/dev/null || fail "Xvfb ended at start"
    [ $SECONDS -lt $deadline ] || fail "Xvfb did not answer within ${timeout} s"
    sleep 0.05
done

# Milliseconds from launch until a visible window of the process exists, and the process id.
start_once() {
    local t0 pid deadline=$((SECONDS + timeout))
    t0=$(date +%s%N)
    "$bin" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || fail "$bin ended before its window showed"
        [ $SECONDS -lt $deadline ] || { kill "$pid"; fail "no window of $bin within ${timeout} s"; }
        sleep 0.005
    done
    echo $(( ($(date +%s%N) - t0) / 1000000 )) "$pid"
}

"$bin" >/dev/null 2>&1 & warm=$!; sleep 2; kill "$warm" 2>/dev/null || true; wait "$warm" 2>/dev/null || true

times=()
for _ in $(seq "$runs"); do
    result=$(start_once) || exit 1
    read -r ms pid <<< "$result"
    times+=("$ms")
    kill "$pid"; wait "$pid" 2>/dev/null || true
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "start to window shown: median ${median} ms over ${runs} starts (all: ${times[*]})"

result=$(start_once) || exit 1
read -r _ pid <<< "$result"
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
