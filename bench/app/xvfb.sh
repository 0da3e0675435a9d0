# Sourced by the start-up scripts: a fresh profile folder ($profile, removed on exit) and an Xvfb server
# that answers ($DISPLAY exported). Needs $timeout (seconds) set and the tools the caller lists.
# usage: start_xvfb tool...
start_xvfb() {
    local tool n deadline
    for tool in Xvfb xdotool "$@"; do
        command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install xvfb xdotool $*)" >&2; exit 1; }
    done
    profile=$(mktemp -d)
    # A display far from the usual ones, and one that no other server holds; without -noreset the server
    # resets whenever its last client leaves, and a program started meanwhile cannot connect.
    for n in $(shuf -i 500-899 -n 50); do [ -e "/tmp/.X$n-lock" ] || break; done
    Xvfb ":$n" -noreset -screen 0 1600x1200x24 >/dev/null 2>&1 &
    xvfb=$!
    trap cleanup EXIT
    deadline=$((SECONDS + timeout))
    until DISPLAY=:$n xdotool getdisplaygeometry >/dev/null 2>&1; do
        kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb ended at start" >&2; exit 1; }
        [ $SECONDS -lt $deadline ] || { echo "Xvfb did not answer within ${timeout} s" >&2; exit 1; }
        sleep 0.05
    done
    export DISPLAY=:$n
}

cleanup() {
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$profile"
}
