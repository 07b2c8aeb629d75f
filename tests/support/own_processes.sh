# Processes a shell check starts and ends, for checks sourcing this file. A check may signal only
# processes of its own: a number recorded when a process started can belong to anyone once that
# process has ended and been reaped (the shell reaps its children as they end), and a signal to it
# would end, say, a build running beside the check.
#
# So each command runs in a process group of its own whose leader, a shell, starts the command and
# then stays until the check lets it go. While the leader stands, the group's number is in use and
# ours: every signal the check sends goes to that group and reaches only the command (with what it
# started) and the leader, which ignores the ending signals.
source "$(dirname "${BASH_SOURCE[0]}")/clock_wait.sh"

# Per group started, by its serial number: the leader's number (the group's), the check's end of
# the pipe that holds the leader, and the folder of the leader's files. OWN_LATEST maps a name to
# the group last started under it. A group in OWN_GONE was ended by SIGKILL, leader and all, and
# takes no more signals.
declare -ga OWN_LEADERS=() OWN_HOLDS=() OWN_FOLDERS=() OWN_PIDS=()
declare -gA OWN_LATEST=() OWN_GONE=()

# The leader: $1 its folder, then the command. Writes its own and the command's number, then the
# command's exit code once it ends, and stays until the check writes a line to (or closes) the pipe
# "hold".
own_leader_script='
folder=$1
shift
trap "" TERM INT HUP
(trap - TERM INT HUP; exec "$@") &
command=$!
exec 3<"$folder/hold"
echo "$$ $command" >"$folder/pids.new" && mv "$folder/pids.new" "$folder/pids"
status=0
wait "$command" || status=$?
echo "$status" >"$folder/exit.new" && mv "$folder/exit.new" "$folder/exit"
read -r _ <&3 || true
'

# own_start NAME COMMAND...: starts COMMAND in a process group of its own, known as NAME from then
# on. Redirections given to this call apply to the command.
own_start() {
    local name=$1 folder hold leader started command other
    shift
    folder=$(mktemp -d "${OWN_DIR:-${TMPDIR:-/tmp}}/own-process.XXXXXX")
    mkfifo "$folder/hold"
    exec {hold}<>"$folder/hold"
    # The leader keeps none of the check's holds open: each leader's pipe is the check's alone.
    (
        for other in "${OWN_HOLDS[@]}" "$hold"; do eval "exec $other>&-"; done
        exec setsid bash -c "$own_leader_script" own-leader "$folder" "$@"
    ) &
    leader=$!
    wait_for 60 test -s "$folder/pids" || { echo "$name did not start" >&2; exit 1; }
    read -r started command <"$folder/pids"
    # setsid forks only when called by a group leader, which a child of a shell without job control
    # never is: the leader is that child itself, the check's own until it is let go and waited for.
    [ "$started" = "$leader" ] || { echo "the leader of $name is not the check's child" >&2; exit 1; }
    OWN_LATEST[$name]=${#OWN_LEADERS[@]}
    OWN_LEADERS+=("$leader")
    OWN_HOLDS+=("$hold")
    OWN_FOLDERS+=("$folder")
    OWN_PIDS+=("$command")
}

# Prints the number of the command started under NAME: for matching it (a window's _NET_WM_PID),
# never for signals.
own_pid() { echo "${OWN_PIDS[${OWN_LATEST[$1]}]}"; }

# Sends a signal (TERM, STOP, KILL...) to the group of NAME.
own_signal() { own_signal_group "${OWN_LATEST[$1]}" "$2"; }

own_signal_group() {
    [ -z "${OWN_GONE[$1]:-}" ] || return 0
    [ "$2" != KILL ] || OWN_GONE[$1]=1
    kill -s "$2" -- "-${OWN_LEADERS[$1]}" 2>/dev/null || true
}

# True once the command started under NAME has ended.
own_ended() { own_group_ended "${OWN_LATEST[$1]}"; }

own_group_ended() { [ -n "${OWN_GONE[$1]:-}" ] || [ -s "${OWN_FOLDERS[$1]}/exit" ]; }

# True once every command started has ended.
own_all_ended() {
    local group
    for group in "${!OWN_LEADERS[@]}"; do own_group_ended "$group" || return 1; done
}

# Waits up to SECONDS for the command started under NAME to end and sets OWN_EXIT to its exit code
# (128 + the signal's number for one that a signal ended); false if it is still running.
own_wait_exit() {
    local group=${OWN_LATEST[$1]}
    wait_for "$2" own_ended "$1" || return 1
    if [ -n "${OWN_GONE[$group]:-}" ]; then
        OWN_EXIT=0
        wait "${OWN_LEADERS[$group]}" 2>/dev/null || OWN_EXIT=$?
    else
        OWN_EXIT=$(cat "${OWN_FOLDERS[$group]}/exit")
    fi
}

# Ends every group started: SIGTERM, and SIGKILL for what still runs 10 seconds later; then lets the
# leaders go and waits for them.
own_stop_all() {
    local group
    for group in "${!OWN_LEADERS[@]}"; do
        own_signal_group "$group" TERM
        own_signal_group "$group" CONT  # a stopped command takes the SIGTERM only once it runs
    done
    wait_for 10 own_all_ended || for group in "${!OWN_LEADERS[@]}"; do
        own_group_ended "$group" || own_signal_group "$group" KILL
    done
    for group in "${!OWN_LEADERS[@]}"; do
        echo >&"${OWN_HOLDS[$group]}" 2>/dev/null || true
        eval "exec ${OWN_HOLDS[$group]}>&-"
        OWN_GONE[$group]=1
    done
    for group in "${!OWN_LEADERS[@]}"; do
        wait "${OWN_LEADERS[$group]}" 2>/dev/null || true
        rm -rf "${OWN_FOLDERS[$group]}"
    done
    OWN_LEADERS=() OWN_HOLDS=() OWN_FOLDERS=() OWN_PIDS=()
    OWN_LATEST=() OWN_GONE=()
}
