# Waiting by the clock, for shell checks: a machine busy with other builds makes every pass of a
# polling loop slower, so a wait counted in passes lasts many times what it says.

# Runs a command every tenth of a second until it succeeds (0) or SECONDS (may have a fraction)
# have passed by the clock (1). The command is tried once more at the deadline.
wait_for() {
    local seconds=$1 deadline
    shift
    deadline=$(clock_after "$seconds")
    until "$@" >/dev/null 2>&1; do
        clock_passed "$deadline" && { "$@" >/dev/null 2>&1; return; }
        sleep 0.1
    done
}

# Prints the time SECONDS from now in microseconds since the epoch.
clock_after() {
    local whole=${1%.*} fraction=0
    [[ "$1" == *.* ]] && fraction=${1#*.}
    fraction=$(printf '%-6.6s' "$fraction")
    fraction=${fraction// /0}
    echo $((${EPOCHREALTIME/./} + whole * 1000000 + 10#$fraction))
}

# True once the clock has passed a time printed by clock_after.
clock_passed() { [ "${EPOCHREALTIME/./}" -ge "$1" ]; }
