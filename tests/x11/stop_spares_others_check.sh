#!/usr/bin/env bash
# A check ends only processes of its own. Once the program has ended, another process of the
# user's takes its number, as any may on a busy machine where numbers come round again: the check's
# stop, which ends the X server, the window manager and the program, leaves that process running.
# The check runs in a PID namespace of its own, where the number the next process gets can be set.
if [ "${PARAMORA_OWN_PIDS:-}" != 1 ]; then
    [ "$(id -u)" = 0 ] || { echo "SKIP: choosing a process's number needs root"; exit 77; }
    unshare --pid --fork --mount-proc true 2>/dev/null || { echo "SKIP: no PID namespace to be had here"; exit 77; }
    exec env PARAMORA_OWN_PIDS=1 unshare --pid --fork --mount-proc bash "$0" "$@"
fi
source "$(dirname "$0")/session.sh"
x11_require
x11_start
x11_start_program
x11_end_program
ended=$PARAMORA_PID

# The user's process, in a session of its own as a build started from a terminal is, with the
# number the program had.
echo $((ended - 1)) >/proc/sys/kernel/ns_last_pid
setsid sleep 600 &
other=$!
[ "$other" = "$ended" ] || x11_fail "the other process got number $other, not the program's $ended"

x11_stop
trap - EXIT
state=$(sed -n 's/^State:\t\(.\).*/\1/p' "/proc/$other/status" 2>/dev/null || true)
[ -n "$state" ] && [ "$state" != Z ] || x11_fail "the check's stop ended another process that had the program's number"
# The PID namespace ends with this shell, and the other process with it.
echo "PASS"
